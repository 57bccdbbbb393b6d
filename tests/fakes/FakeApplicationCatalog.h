#pragma once

#include "platform/ApplicationCatalog.h"

#include <QHash>

namespace talvo {

class FakeApplicationCatalog final : public ApplicationCatalog
{
public:
    QStringList defaultFavoriteApps() const override { return defaults; }
    QString installedApplication(const QStringList &ids) const override
    {
        for (const QString &id : ids) {
            if (installed.contains(id))
                return id;
        }
        return {};
    }
    QString defaultApplicationFor(const QString &contentType) const override
    {
        return defaultsByType.value(contentType);
    }
    bool launch(const QString &id) override
    {
        launched.append(id);
        return installed.contains(id);
    }

    QStringList defaults{QStringLiteral("/usr/share/applications/firefox-esr.desktop"),
                         QStringLiteral("/usr/share/applications/org.gnome.Settings.desktop")};
    QStringList installed;
    QHash<QString, QString> defaultsByType;
    QStringList launched;
};

} // namespace talvo
