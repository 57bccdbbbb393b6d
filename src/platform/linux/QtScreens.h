#pragma once

#include "platform/Screens.h"

#include <QHash>
#include <QSizeF>

class QScreen;

namespace talvo {

// The desktop's screens as Qt knows them, primary first.
//
// Screens have no camera housing unless one is declared in the environment
// variable TALVO_CAMERA_HOUSING: comma-separated entries "WIDTHxHEIGHT" (for
// the primary screen) or "OUTPUT:WIDTHxHEIGHT" (for the output of that name),
// in logical pixels, e.g. "eDP-1:200x32". Malformed entries are logged and
// ignored.
class QtScreens final : public Screens
{
    Q_OBJECT
public:
    static constexpr const char *kHousingVariable = "TALVO_CAMERA_HOUSING";

    explicit QtScreens(QObject *parent = nullptr);

    QList<ScreenInfo> screens() const override;
    std::optional<ScreenInfo> mainScreen() const override;

    // Parses the variable's value: output name (empty for the primary) to size.
    static QHash<QString, QSizeF> parseHousings(const QString &value);
    // A stable number for the output name; 0 for no name.
    static quint32 screenNumber(const QString &outputName);

private:
    ScreenInfo describe(const QScreen *screen, bool primary) const;
    void watch(QScreen *screen);

    QHash<QString, QSizeF> m_housings;
    // The pointer poll asks several times a tick; screens change rarely.
    mutable std::optional<QList<ScreenInfo>> m_cache;
};

} // namespace talvo
