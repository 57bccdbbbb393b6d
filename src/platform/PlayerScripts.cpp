#include "PlayerScripts.h"

#include <QStringList>

namespace talvo {

namespace {

QString tellApplication(const QString &scriptName)
{
    return QStringLiteral("tell application \"") + scriptName + QLatin1Char('"');
}

// The artwork scripts guard themselves so that asking never launches a player.
QString artworkScript(const QString &scriptName, const QString &returnLine)
{
    return QStringList{
        tellApplication(scriptName),
        QStringLiteral("    if it is running then"),
        QStringLiteral("        try"),
        QStringLiteral("            ") + returnLine,
        QStringLiteral("        end try"),
        QStringLiteral("    end if"),
        QStringLiteral("end tell"),
    }.join(QLatin1Char('\n'));
}

} // namespace

QString PlayerScripts::stateQuery(const QString &scriptName)
{
    return QStringList{
        tellApplication(scriptName),
        QStringLiteral("    if player state is stopped then return \"stopped|||\""),
        QStringLiteral("    set st to \"paused\""),
        QStringLiteral("    if player state is playing then set st to \"playing\""),
        QStringLiteral("    set trackName to \"\""),
        QStringLiteral("    set trackArtist to \"\""),
        QStringLiteral("    try"),
        QStringLiteral("        set trackName to name of current track"),
        QStringLiteral("        set trackArtist to artist of current track"),
        QStringLiteral("    end try"),
        QStringLiteral("    return st & \"|\" & trackName & \"|\" & trackArtist"),
        QStringLiteral("end tell"),
    }.join(QLatin1Char('\n'));
}

QString PlayerScripts::musicArtwork()
{
    return artworkScript(QStringLiteral("Music"), QStringLiteral("return raw data of artwork 1 of current track"));
}

QString PlayerScripts::spotifyArtwork()
{
    return artworkScript(QStringLiteral("Spotify"), QStringLiteral("return artwork url of current track"));
}

QString PlayerScripts::command(const QString &target, const QString &command)
{
    return QStringLiteral("tell application \"") + target + QStringLiteral("\" to ") + command;
}

} // namespace talvo
