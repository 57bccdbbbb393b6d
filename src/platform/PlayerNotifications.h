#pragma once

#include <QObject>
#include <QVariantMap>

namespace talvo {

// State changes the media players announce by themselves, as named
// notifications with a payload:
//   "com.apple.Music.playerInfo": "Player State" ("Playing", "Paused",
//       "Stopped"), "Name", "Artist", "Total Time" (milliseconds);
//   "com.spotify.client.PlaybackStateChanged": "Player State", "Name",
//       "Artist", "Duration" (milliseconds), "Playing Position" (seconds).
// Keys a player has nothing for are left out.
//
// posted() is delivered on the main thread.
class PlayerNotifications : public QObject
{
    Q_OBJECT
public:
    static inline const QString kMusicPlayerInfo = QStringLiteral("com.apple.Music.playerInfo");
    static inline const QString kSpotifyPlaybackStateChanged = QStringLiteral("com.spotify.client.PlaybackStateChanged");

    using QObject::QObject;

signals:
    void posted(const QString &name, const QVariantMap &userInfo);
};

} // namespace talvo
