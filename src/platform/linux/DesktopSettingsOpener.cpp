#include "DesktopSettingsOpener.h"

#include "platform/Log.h"

#include <QProcess>
#include <QStandardPaths>

namespace talvo {

DesktopSettingsOpener::DesktopSettingsOpener(QString currentDesktop, Launcher launch)
    : m_currentDesktop(std::move(currentDesktop)), m_launch(std::move(launch))
{
}

bool DesktopSettingsOpener::open(Page page)
{
    const std::optional<Command> command = commandFor(m_currentDesktop, page);
    return command && m_launch(*command);
}

std::optional<DesktopSettingsOpener::Command> DesktopSettingsOpener::commandFor(const QString &currentDesktop,
                                                                                Page page)
{
    switch (page) {
    case Page::LocationPrivacy:
        for (const QString &desktop : currentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
            const QString name = desktop.trimmed().toLower();
            if (name == QLatin1String("gnome") || name == QLatin1String("unity") || name == QLatin1String("budgie")
                || name == QLatin1String("pantheon"))
                return Command{QStringLiteral("gnome-control-center"), {QStringLiteral("location")}};
        }
        return std::nullopt;
    }
    return std::nullopt;
}

bool DesktopSettingsOpener::startDetached(const Command &command)
{
    const QString program = QStandardPaths::findExecutable(command.program);
    if (program.isEmpty())
        return false;
    if (!QProcess::startDetached(program, command.arguments)) {
        qCWarning(lcDesktop).noquote() << QStringLiteral("Failed to open the system settings: ") + command.program;
        return false;
    }
    return true;
}

} // namespace talvo
