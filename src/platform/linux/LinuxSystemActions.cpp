#include "LinuxSystemActions.h"

#include "TrashEmptier.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QProcess>
#include <QStandardPaths>

#include <unistd.h>

namespace talvo {

namespace {

constexpr int kCallTimeoutMs = 5000;
const QString kLogin = QStringLiteral("org.freedesktop.login1");

PlatformResult<QDBusMessage> callBus(QDBusConnection bus, QDBusMessage message)
{
    if (!bus.isConnected())
        return PlatformResult<QDBusMessage>::failure(QStringLiteral("no bus connection"));
    const QDBusMessage answer = bus.call(message, QDBus::Block, kCallTimeoutMs);
    if (answer.type() == QDBusMessage::ErrorMessage)
        return PlatformResult<QDBusMessage>::failure(answer.errorName() + QStringLiteral(": ") + answer.errorMessage());
    return PlatformResult<QDBusMessage>::success(answer);
}

// Runs a desktop tool to its end; its output, or why it failed.
PlatformResult<QString> runTool(const QString &program, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(program).isEmpty())
        return PlatformResult<QString>::failure(QStringLiteral("%1 is not installed").arg(program));
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kCallTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        return PlatformResult<QString>::failure(QStringLiteral("%1 did not finish").arg(program));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return PlatformResult<QString>::failure(QStringLiteral("%1 failed: %2")
                                                    .arg(program, QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
    return PlatformResult<QString>::success(QString::fromUtf8(process.readAllStandardOutput()).trimmed());
}

bool desktopIs(const QStringList &names)
{
    const QStringList current = qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(u':', Qt::SkipEmptyParts);
    for (const QString &desktop : current) {
        if (names.contains(desktop, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

PlatformResult<> toggleGnomeColorScheme()
{
    const QString schema = QStringLiteral("org.gnome.desktop.interface");
    const QString key = QStringLiteral("color-scheme");
    const PlatformResult<QString> current = runTool(QStringLiteral("gsettings"), {QStringLiteral("get"), schema, key});
    if (!current.succeeded())
        return PlatformResult<>::failure(current.error);
    const bool dark = current.value->contains(QLatin1String("prefer-dark"));
    const PlatformResult<QString> set = runTool(
        QStringLiteral("gsettings"),
        {QStringLiteral("set"), schema, key, dark ? QStringLiteral("default") : QStringLiteral("prefer-dark")});
    return set.succeeded() ? PlatformResult<>::success() : PlatformResult<>::failure(set.error);
}

PlatformResult<> togglePlasmaColorScheme()
{
    // The scheme in use is the one plasma-apply-colorscheme marks "current".
    const PlatformResult<QString> list =
        runTool(QStringLiteral("plasma-apply-colorscheme"), {QStringLiteral("--list-schemes")});
    if (!list.succeeded())
        return PlatformResult<>::failure(list.error);
    bool dark = false;
    for (const QString &line : list.value->split(u'\n')) {
        if (line.contains(QLatin1String("current"), Qt::CaseInsensitive))
            dark = line.contains(QLatin1String("Dark"), Qt::CaseInsensitive);
    }
    const PlatformResult<QString> set = runTool(QStringLiteral("plasma-apply-colorscheme"),
                                                {dark ? QStringLiteral("BreezeLight") : QStringLiteral("BreezeDark")});
    return set.succeeded() ? PlatformResult<>::success() : PlatformResult<>::failure(set.error);
}

} // namespace

LinuxSystemActions::LinuxSystemActions() = default;

LinuxSystemActions::LinuxSystemActions(Buses buses) : m_buses(std::move(buses)) {}

QDBusConnection LinuxSystemActions::systemBus() const
{
    return m_buses.system.isEmpty() ? QDBusConnection::systemBus() : QDBusConnection(m_buses.system);
}

QDBusConnection LinuxSystemActions::sessionBus() const
{
    return m_buses.session.isEmpty() ? QDBusConnection::sessionBus() : QDBusConnection(m_buses.session);
}

PlatformResult<> LinuxSystemActions::lockScreen()
{
    QDBusMessage find = QDBusMessage::createMethodCall(kLogin, QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("GetSessionByPID"));
    find << quint32(::getpid());
    const PlatformResult<QDBusMessage> session = callBus(systemBus(), find);
    QString loginError;
    if (session.succeeded()) {
        const QString path = session.value->arguments().value(0).value<QDBusObjectPath>().path();
        const PlatformResult<QDBusMessage> locked =
            callBus(systemBus(), QDBusMessage::createMethodCall(kLogin, path, QStringLiteral("org.freedesktop.login1.Session"),
                                                                QStringLiteral("Lock")));
        if (locked.succeeded())
            return PlatformResult<>::success();
        loginError = locked.error;
    } else {
        loginError = session.error;
    }
    const PlatformResult<QDBusMessage> saver = callBus(
        sessionBus(), QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.ScreenSaver"),
                                                     QStringLiteral("/org/freedesktop/ScreenSaver"),
                                                     QStringLiteral("org.freedesktop.ScreenSaver"), QStringLiteral("Lock")));
    if (saver.succeeded())
        return PlatformResult<>::success();
    return PlatformResult<>::failure(QStringLiteral("logind: %1; screen saver: %2").arg(loginError, saver.error));
}

PlatformResult<> LinuxSystemActions::suspend()
{
    QDBusMessage call = QDBusMessage::createMethodCall(kLogin, QStringLiteral("/org/freedesktop/login1"),
                                                       QStringLiteral("org.freedesktop.login1.Manager"),
                                                       QStringLiteral("Suspend"));
    call << true; // interactive: the desktop's policy may ask or refuse
    const PlatformResult<QDBusMessage> result = callBus(systemBus(), call);
    return result.succeeded() ? PlatformResult<>::success() : PlatformResult<>::failure(result.error);
}

PlatformResult<> LinuxSystemActions::toggleDarkMode()
{
    if (desktopIs({QStringLiteral("KDE")}))
        return togglePlasmaColorScheme();
    if (desktopIs({QStringLiteral("GNOME"), QStringLiteral("Unity"), QStringLiteral("Budgie"),
                   QStringLiteral("Pantheon"), QStringLiteral("X-Cinnamon"), QStringLiteral("Cinnamon")}))
        return toggleGnomeColorScheme();
    return PlatformResult<>::failure(
        QStringLiteral("this desktop (%1) has no dark-mode setting Talvo knows")
            .arg(qEnvironmentVariable("XDG_CURRENT_DESKTOP", QStringLiteral("unknown"))));
}

PlatformResult<> LinuxSystemActions::emptyTrash()
{
    const TrashEmptier::Outcome outcome = TrashEmptier::forCurrentUser().empty();
    if (outcome.remaining == 0)
        return PlatformResult<>::success();
    return PlatformResult<>::failure(QStringLiteral("%1 of %2 items could not be removed (first: %3)")
                                         .arg(outcome.remaining)
                                         .arg(outcome.remaining + outcome.removed)
                                         .arg(outcome.errors.value(0)));
}

} // namespace talvo
