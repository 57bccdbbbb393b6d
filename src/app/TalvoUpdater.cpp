#include "TalvoUpdater.h"

#include "app/Appcast.h"
#include "platform/FileOpener.h"
#include "platform/HttpClient.h"
#include "platform/Log.h"
#include "platform/QmlInstances.h"

namespace talvo {

static const QString kCheckFailed = QStringLiteral("Update check failed: ");

TalvoUpdater::TalvoUpdater(HttpClient &http, Scheduler &scheduler, FileOpener &opener, QUrl feedUrl,
                           QString currentVersion, QObject *parent)
    : QObject(parent)
    , m_http(http)
    , m_scheduler(scheduler)
    , m_opener(opener)
    , m_feedUrl(std::move(feedUrl))
    , m_currentVersion(std::move(currentVersion))
{
}

TalvoUpdater *TalvoUpdater::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<TalvoUpdater>(qmlEngine);
}

void TalvoUpdater::start()
{
    // A build without a feed has nothing to check on its own.
    if (m_timer.isActive() || m_feedUrl.isEmpty())
        return;
    check(false);
    m_timer = m_scheduler.every(checkInterval, this, [this] { check(false); });
}

void TalvoUpdater::checkForUpdates()
{
    check(true);
}

void TalvoUpdater::check(bool openPageWhenFound)
{
    if (!m_feedUrl.isValid() || m_feedUrl.isEmpty()) {
        qCWarning(lcUpdates).noquote() << kCheckFailed + QStringLiteral("no update feed is configured");
        setUpdateAvailable(false);
        return;
    }
    HttpRequest request;
    request.url = m_feedUrl;
    request.maxBodyBytes = 2 * 1024 * 1024;
    request.timeout = std::chrono::seconds(30);
    m_http.get(request, this, [this, openPageWhenFound](const HttpResponse &response) {
        if (response.outcome != HttpResponse::Outcome::Completed) {
            qCWarning(lcUpdates).noquote() << kCheckFailed + response.errorDescription;
            setUpdateAvailable(false);
            return;
        }
        if (response.statusCode != 200) {
            qCWarning(lcUpdates).noquote() << kCheckFailed
                                              + QStringLiteral("the feed answered with status %1")
                                                  .arg(response.statusCode);
            setUpdateAvailable(false);
            return;
        }
        QString error;
        const auto items = parseAppcast(response.body, &error);
        if (!items) {
            qCWarning(lcUpdates).noquote() << kCheckFailed + error;
            setUpdateAvailable(false);
            return;
        }
        const auto newest = newestItem(*items);
        const bool available = newest && compareVersions(newest->version, m_currentVersion) > 0;
        setUpdateAvailable(available);
        if (available && openPageWhenFound && newest->pageUrl.isValid())
            m_opener.open(newest->pageUrl);
    });
}

void TalvoUpdater::setUpdateAvailable(bool available)
{
    if (m_updateAvailable == available)
        return;
    m_updateAvailable = available;
    emit updateAvailableChanged();
}

} // namespace talvo
