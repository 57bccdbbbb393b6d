#pragma once

#include "platform/RunningApplications.h"

#include <QHash>

namespace talvo {

// Running applications set by the test.
class FakeRunningApplications final : public RunningApplications
{
public:
    struct App
    {
        QString name;
        QImage icon;
    };

    void launch(const QString &bundleId, App app = {}) { m_apps.insert(bundleId, std::move(app)); }
    void quit(const QString &bundleId) { m_apps.remove(bundleId); }

    bool isRunning(const QString &bundleId) const override { return m_apps.contains(bundleId); }
    QString displayName(const QString &bundleId) const override { return m_apps.value(bundleId).name; }
    QImage icon(const QString &bundleId) const override { return m_apps.value(bundleId).icon; }

private:
    QHash<QString, App> m_apps;
};

} // namespace talvo
