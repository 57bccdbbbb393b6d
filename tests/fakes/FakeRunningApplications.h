#pragma once

#include "platform/RunningApplications.h"

#include <QHash>
#include <QMutex>

namespace talvo {

// Running applications set by the test; counts the running checks.
class FakeRunningApplications final : public RunningApplications
{
public:
    struct App
    {
        QString name;
        QImage icon;
    };

    void launch(const QString &bundleId, App app = {})
    {
        QMutexLocker lock(&m_mutex);
        m_apps.insert(bundleId, std::move(app));
    }
    void quit(const QString &bundleId)
    {
        QMutexLocker lock(&m_mutex);
        m_apps.remove(bundleId);
    }
    int runningChecks() const
    {
        QMutexLocker lock(&m_mutex);
        return m_checks;
    }

    bool isRunning(const QString &bundleId) const override
    {
        QMutexLocker lock(&m_mutex);
        ++m_checks;
        return m_apps.contains(bundleId);
    }
    QString displayName(const QString &bundleId) const override
    {
        QMutexLocker lock(&m_mutex);
        return m_apps.value(bundleId).name;
    }
    QImage icon(const QString &bundleId) const override
    {
        QMutexLocker lock(&m_mutex);
        return m_apps.value(bundleId).icon;
    }

private:
    mutable QMutex m_mutex;
    QHash<QString, App> m_apps;
    mutable int m_checks = 0;
};

} // namespace talvo
