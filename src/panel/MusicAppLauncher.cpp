#include "MusicAppLauncher.h"

#include "platform/ApplicationCatalog.h"
#include "platform/FileOpener.h"
#include "platform/QmlInstances.h"

namespace talvo {

namespace {
const QString kMusic = QStringLiteral("music");
const QString kSpotify = QStringLiteral("spotify");
} // namespace

const QStringList &MusicAppLauncher::spotifyDesktopIds()
{
    static const QStringList ids{QStringLiteral("spotify.desktop"), QStringLiteral("com.spotify.Client.desktop"),
                                 QStringLiteral("spotify_spotify.desktop")};
    return ids;
}

const QStringList &MusicAppLauncher::audioContentTypes()
{
    static const QStringList types{QStringLiteral("audio/mpeg"), QStringLiteral("audio/flac"),
                                   QStringLiteral("audio/x-vorbis+ogg")};
    return types;
}

QUrl MusicAppLauncher::spotifyWebPlayer()
{
    return QUrl(QStringLiteral("https://open.spotify.com/"));
}

MusicAppLauncher::MusicAppLauncher(ApplicationCatalog &catalog, FileOpener &opener, QObject *parent)
    : QObject(parent), m_catalog(catalog), m_opener(opener)
{
}

MusicAppLauncher *MusicAppLauncher::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<MusicAppLauncher>(qmlEngine);
}

QList<MusicAppLauncher::Button> MusicAppLauncher::lookUp() const
{
    QString music;
    for (const QString &type : audioContentTypes()) {
        music = m_catalog.defaultApplicationFor(type);
        if (!music.isEmpty())
            break;
    }
    return {
        {kMusic, music, QStringLiteral("music.note"), QColor(252, 60, 68)},
        {kSpotify, m_catalog.installedApplication(spotifyDesktopIds()), QStringLiteral("waveform"),
         QColor(29, 185, 84)},
    };
}

const QList<MusicAppLauncher::Button> &MusicAppLauncher::resolved() const
{
    if (!m_buttons)
        m_buttons = lookUp();
    return *m_buttons;
}

void MusicAppLauncher::refresh()
{
    const QList<Button> buttons = lookUp();
    if (buttons == m_buttons)
        return;
    m_buttons = buttons;
    emit buttonsChanged();
}

QVariantList MusicAppLauncher::buttons() const
{
    QVariantList list;
    for (const Button &button : resolved()) {
        list.append(QVariantMap{
            {QStringLiteral("id"), button.id},
            {QStringLiteral("application"), button.application},
            {QStringLiteral("iconSource"),
             button.application.isEmpty() ? QString() : QStringLiteral("image://appicon/") + button.application},
            {QStringLiteral("fallbackSymbol"), button.fallbackSymbol},
            {QStringLiteral("brandColor"), button.brandColor},
            {QStringLiteral("accessibleName"), button.id == kSpotify ? tr("Open Spotify") : tr("Open music player")},
        });
    }
    return list;
}

void MusicAppLauncher::launch(const QString &buttonId)
{
    const QList<Button> &buttons = resolved();
    const auto it = std::ranges::find(buttons, buttonId, &Button::id);
    if (it == buttons.end())
        return;
    if (!it->application.isEmpty() && m_catalog.launch(it->application))
        return;
    if (buttonId == kSpotify)
        m_opener.open(spotifyWebPlayer());
}

} // namespace talvo
