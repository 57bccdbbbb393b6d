#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace talvo::fuzz {

namespace {

int argc = 1;
char name[] = "fuzz";
char *argv[] = {name, nullptr};
// Never destroyed: the targets end through exit(), after Qt's own globals.
QCoreApplication *application = nullptr;

void ignore(QtMsgType, const QMessageLogContext &, const QString &) {}

} // namespace

void quietStart()
{
    qInstallMessageHandler(ignore);
    setenv("TZ", "Europe/Berlin", 1);
}

void startGuiApplication()
{
    quietStart();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    application = new QGuiApplication(argc, argv);
}

void startCoreApplication()
{
    quietStart();
    application = new QCoreApplication(argc, argv);
}

} // namespace talvo::fuzz
