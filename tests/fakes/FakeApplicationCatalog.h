#pragma once

#include "platform/ApplicationCatalog.h"

#include <QFileInfo>
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

    QList<Application> installedApplications() const override { return applications; }
    QString displayName(const QString &entryPath) const override
    {
        return names.value(entryPath, QFileInfo(entryPath).completeBaseName());
    }
    bool launchEntry(const QString &entryPath) override
    {
        launched.append(entryPath);
        return QFileInfo::exists(entryPath);
    }

    QList<Application> applications;
    QHash<QString, QString> names;
    QStringList defaults{QStringLiteral("/usr/share/applications/firefox-esr.desktop"),
                         QStringLiteral("/usr/share/applications/org.gnome.Settings.desktop")};
    QStringList installed;
    QHash<QString, QString> defaultsByType;
    QStringList launched;
};

} // namespace talvo
