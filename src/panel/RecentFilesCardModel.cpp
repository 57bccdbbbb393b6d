#include "RecentFilesCardModel.h"

#include "platform/ContentTypes.h"
#include "platform/DragSessions.h"
#include "platform/QmlInstances.h"
#include "shelf/ShelfImage.h"
#include "shelf/ShelfItem.h"
#include "sources/RecentFilesManager.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QLineF>
#include <QLocale>
#include <QMimeData>
#include <QScreen>

namespace talvo {

RecentFilesCardModel::RecentFilesCardModel(RecentFilesManager &manager, DragSessions &sessions,
                                           const ContentTypes &contentTypes, Scheduler &scheduler, QObject *parent)
    : QObject(parent), m_manager(manager), m_sessions(sessions), m_contentTypes(contentTypes), m_scheduler(scheduler)
{
    connect(&m_manager, &RecentFilesManager::recentFilesChanged, this, &RecentFilesCardModel::bumpRevision);
}

void RecentFilesCardModel::bumpRevision()
{
    ++m_revision;
    emit revisionChanged();
}

RecentFilesCardModel *RecentFilesCardModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<RecentFilesCardModel>(qmlEngine);
}

QString RecentFilesCardModel::detailLine(const std::optional<FileFacts> &facts, const QDateTime &now)
{
    if (!facts)
        return tr("FILE");
    const QDateTime modified = facts->modified.isValid() ? facts->modified : now;
    return fileSize(facts->size) + QStringLiteral(" \u2022 ") + relativeTime(modified, now).toUpper();
}

QString RecentFilesCardModel::fileSize(qint64 bytes)
{
    if (bytes < 1000)
        return bytes == 1 ? tr("1 byte") : tr("%1 bytes").arg(qMax<qint64>(bytes, 0));
    return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeSIFormat);
}

QString RecentFilesCardModel::relativeTime(const QDateTime &time, const QDateTime &now)
{
    const qint64 seconds = time.secsTo(now);
    const qint64 span = qAbs(seconds);
    struct Unit
    {
        qint64 seconds;
        const char *name;
    };
    // Largest first; a unit applies from one whole of it.
    static constexpr Unit kUnits[] = {
        {365 * 86400, QT_TR_NOOP("yr")}, {30 * 86400, QT_TR_NOOP("mo")}, {7 * 86400, QT_TR_NOOP("wk")},
        {86400, QT_TR_NOOP("day")},      {3600, QT_TR_NOOP("hr")},       {60, QT_TR_NOOP("min")},
        {1, QT_TR_NOOP("sec")},
    };
    if (span < 1)
        return tr("now");
    for (const Unit &unit : kUnits) {
        if (span < unit.seconds)
            continue;
        const qint64 count = span / unit.seconds;
        QString name = tr(unit.name);
        if (count != 1 && qstrcmp(unit.name, "day") == 0)
            name = tr("days");
        const QString amount = QStringLiteral("%1 %2").arg(count).arg(name);
        return seconds >= 0 ? tr("%1 ago").arg(amount) : tr("in %1").arg(amount);
    }
    return tr("now");
}

std::optional<RecentFilesCardModel::FileFacts> RecentFilesCardModel::readFacts(const QUrl &url)
{
    const QFileInfo info(url.toLocalFile());
    if (url.toLocalFile().isEmpty() || !info.exists())
        return std::nullopt;
    return FileFacts{info.isFile() ? info.size() : 0, info.lastModified()};
}

QString RecentFilesCardModel::detail(const QUrl &url) const
{
    return detailLine(readFacts(url), m_scheduler.now());
}

QString RecentFilesCardModel::iconName(const QUrl &url) const
{
    return m_contentTypes.iconNameForExtension(lowerCaseExtension(lastPathComponent(url)));
}

void RecentFilesCardModel::cardShown()
{
    if (m_shownCards++ > 0)
        return;
    m_manager.startMonitoring();
    bumpRevision();
    m_detailTimer = m_scheduler.every(kDetailRefresh, this, [this] { bumpRevision(); });
}

void RecentFilesCardModel::cardHidden()
{
    if (m_shownCards == 0 || --m_shownCards > 0)
        return;
    m_manager.stopMonitoring();
    m_detailTimer.cancel();
}

void RecentFilesCardModel::press(const QUrl &url, qreal x, qreal y)
{
    m_pressedUrl = url;
    m_mouseDownPoint = QPointF(x, y);
    m_didStartDragging = false;
}

bool RecentFilesCardModel::move(qreal x, qreal y)
{
    if (m_didStartDragging || !m_mouseDownPoint)
        return false;
    if (QLineF(*m_mouseDownPoint, QPointF(x, y)).length() <= kDragThreshold)
        return false;
    m_didStartDragging = true;

    auto data = std::make_unique<QMimeData>();
    data->setUrls({m_pressedUrl});
    const QScreen *screen = QGuiApplication::primaryScreen();
    DragSessions::Request request;
    request.data = std::move(data);
    request.picture = ShelfImage::themeIcon(iconName(m_pressedUrl))
                          .rendered(kDragPictureSize, screen ? screen->devicePixelRatio() : 1.0);
    request.hotSpot = QPoint(kDragPictureSize / 2, kDragPictureSize / 2);
    request.allowedActions = Qt::CopyAction;
    request.defaultAction = Qt::CopyAction;
    m_sessions.start(std::move(request), [] {}, [](Qt::DropAction) {});
    return true;
}

void RecentFilesCardModel::release()
{
    if (m_mouseDownPoint && !m_didStartDragging)
        m_manager.openFile(m_pressedUrl);
    m_mouseDownPoint.reset();
    m_didStartDragging = false;
    m_pressedUrl.clear();
}

void RecentFilesCardModel::cancel()
{
    m_mouseDownPoint.reset();
    m_didStartDragging = false;
    m_pressedUrl.clear();
}

} // namespace talvo
