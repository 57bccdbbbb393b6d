#pragma once

#include "platform/SystemSettingsOpener.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace talvo {

// Opens pages of the running desktop's settings application. The desktop is
// read from XDG_CURRENT_DESKTOP (a colon-separated list, most specific first);
// GNOME and the desktops built on its settings application have a location
// page. Plasma keeps location access in no page of its own, so there (and on
// unknown desktops) nothing opens.
class DesktopSettingsOpener final : public SystemSettingsOpener
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
        friend bool operator==(const Command &, const Command &) = default;
    };
    // Starts the program without waiting for it; false when it is not installed.
    using Launcher = std::function<bool(const Command &)>;

    explicit DesktopSettingsOpener(QString currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
                                   Launcher launch = startDetached);

    bool open(Page page) override;

    static std::optional<Command> commandFor(const QString &currentDesktop, Page page);
    static bool startDetached(const Command &command);

private:
    QString m_currentDesktop;
    Launcher m_launch;
};

} // namespace talvo
