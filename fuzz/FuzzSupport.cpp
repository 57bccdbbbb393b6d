#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdlib>

namespace talvo::fuzz {

namespace {

int argc = 1;
char name[] = "fuzz";
char *argv[] = {name, nullptr};
// Never destroyed: the targets end through exit(), after Qt's own globals.
QCoreApplication *application = nullptr;

void ignore(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

__attribute__((weak)) void setUp() {}

void startGuiApplication()
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = new QGuiApplication(argc, argv);
}

} // namespace talvo::fuzz

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qInstallMessageHandler(talvo::fuzz::ignore);
    setenv("TZ", "Europe/Berlin", 1);
    talvo::fuzz::setUp();
    return 0;
}
