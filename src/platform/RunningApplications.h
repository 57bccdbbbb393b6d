#pragma once

#include <QImage>
#include <QString>

namespace talvo {

// The running media players, known by the bundle identifiers the program uses
// for them: "com.spotify.client" and "com.apple.Music".
//
// isRunning() and displayName() may be called on any thread and answer from
// what is already known (they never wait on the player); icon() is for the
// main thread.
class RunningApplications
{
public:
    static inline const QString kSpotify = QStringLiteral("com.spotify.client");
    static inline const QString kMusic = QStringLiteral("com.apple.Music");

    virtual ~RunningApplications() = default;

    virtual bool isRunning(const QString &bundleId) const = 0;
    // The application's own name; empty when it is not running or has none.
    virtual QString displayName(const QString &bundleId) const = 0;
    // The application's icon; null when it is not running or has none.
    virtual QImage icon(const QString &bundleId) const = 0;
};

} // namespace talvo
