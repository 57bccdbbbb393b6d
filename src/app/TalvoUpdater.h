#pragma once

#include "platform/Scheduler.h"

#include <QObject>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class FileOpener;
class HttpClient;

// Checks an update feed (the common RSS appcast format) at start-up and then
// every 24 hours. `updateAvailable` is true while the newest release in the
// feed is newer than the running version; a failed check makes it false and
// logs one line. checkForUpdates() checks at once and, when there is an
// update, opens its download page in the browser.
class TalvoUpdater : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool updateAvailable READ updateAvailable NOTIFY updateAvailableChanged)
public:
    TalvoUpdater(HttpClient &http, Scheduler &scheduler, FileOpener &opener, QUrl feedUrl, QString currentVersion,
                 QObject *parent = nullptr);

    static TalvoUpdater *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // Starts the scheduled checks (the first one now); nothing without a feed.
    void start();
    Q_INVOKABLE void checkForUpdates();

    bool updateAvailable() const { return m_updateAvailable; }
    QUrl feedUrl() const { return m_feedUrl; }

    static constexpr std::chrono::hours checkInterval{24};

signals:
    void updateAvailableChanged();

private:
    void check(bool openPageWhenFound);
    void setUpdateAvailable(bool available);

    HttpClient &m_http;
    Scheduler &m_scheduler;
    FileOpener &m_opener;
    QUrl m_feedUrl;
    QString m_currentVersion;
    bool m_updateAvailable = false;
    TimerHandle m_timer;
};

} // namespace talvo
