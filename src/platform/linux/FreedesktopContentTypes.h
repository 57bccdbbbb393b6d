#pragma once

#include "platform/ContentTypes.h"

#include <QHash>
#include <QMimeDatabase>

namespace talvo {

// Content types from shared-mime-info (by file name only), icons from the
// freedesktop icon theme. Each type's icon is the first of its specific icon,
// its generic icon and the generic data icon that the theme has, so a machine
// with only the default Adwaita theme (which lacks most specific mimetype
// icons) still gets a picture.
class FreedesktopContentTypes final : public ContentTypes
{
public:
    FreedesktopContentTypes();

    QString iconNameForExtension(const QString &extension) const override;
    QString folderIconName() const override;
    QString genericDataIconName() const override;

    // Without a desktop session Qt knows no icon theme ("hicolor", which
    // holds almost nothing): fall back to Adwaita, the default theme of the
    // distribution, and search every XDG data folder for themes. A theme the
    // desktop chose is left alone. Needs a QGuiApplication.
    static void useDefaultIconThemeWhenUnset();

private:
    QString firstInTheme(const QStringList &candidates) const;

    // The two fallback icons are looked up in the theme at first use, not at
    // start-up, where the first notch frame waits for everything done before it.
    void resolveFallbackIcons() const;

    QMimeDatabase m_mimeDatabase;
    mutable QString m_folderIcon;
    mutable QString m_genericDataIcon;
    mutable QHash<QString, QString> m_iconByExtension;
};

} // namespace talvo
