#include "FuzzSupport.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <memory>

namespace talvo::fuzz {

namespace {

int argc = 1;
char name[] = "fuzz";
char *argv[] = {name, nullptr};
std::unique_ptr<QCoreApplication> application;

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
    application = std::make_unique<QGuiApplication>(argc, argv);
}

void startCoreApplication()
{
    quietStart();
    application = std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace talvo::fuzz
