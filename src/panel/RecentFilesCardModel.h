#pragma once

#include "platform/Scheduler.h"

#include <QDateTime>
#include <QObject>
#include <QPointF>
#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class ContentTypes;
class DragSessions;
class RecentFilesManager;

// The recent-files card's rules: the Downloads folder is refreshed only while
// a recent-files card is on screen, each row's icon and detail line, and the
// rows' press-drag-release rule: moving more than kDragThreshold from the
// press starts a drag of the file (its URL, copy only, its icon under the
// pointer); a release without a drag opens the file.
//
// Main thread only. One press at a time: the pointer presses one row.
class RecentFilesCardModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Moves when the detail lines may read differently (files changed, time passed).
    Q_PROPERTY(int revision READ revision NOTIFY revisionChanged)
public:
    static constexpr qreal kDragThreshold = 5.0;
    static constexpr int kDragPictureSize = 32;
    static constexpr std::chrono::milliseconds kDetailRefresh{30000};

    struct FileFacts
    {
        qint64 size = 0;
        QDateTime modified; // invalid: unknown
    };

    RecentFilesCardModel(RecentFilesManager &manager, DragSessions &sessions, const ContentTypes &contentTypes,
                         Scheduler &scheduler, QObject *parent = nullptr);

    static RecentFilesCardModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // "1.2 MB • 5 MIN AGO"; "FILE" without facts.
    static QString detailLine(const std::optional<FileFacts> &facts, const QDateTime &now);
    // The desktop's file-size style: decimal units, one decimal ("532 bytes", "1.2 kB").
    static QString fileSize(qint64 bytes);
    // Abbreviated, relative to now ("5 min ago", "in 2 hr").
    static QString relativeTime(const QDateTime &time, const QDateTime &now);
    // The file's size and modification time; nothing when they cannot be read.
    static std::optional<FileFacts> readFacts(const QUrl &url);

    Q_INVOKABLE QString detail(const QUrl &url) const;
    // Icon theme name for the file.
    Q_INVOKABLE QString iconName(const QUrl &url) const;

    Q_INVOKABLE void cardShown();
    Q_INVOKABLE void cardHidden();

    Q_INVOKABLE void press(const QUrl &url, qreal x, qreal y);
    // True when this move started the drag.
    Q_INVOKABLE bool move(qreal x, qreal y);
    Q_INVOKABLE void release();
    // The press went elsewhere (the list took it): neither drag nor open.
    Q_INVOKABLE void cancel();

    int revision() const { return m_revision; }

signals:
    void revisionChanged();

private:
    void bumpRevision();

    RecentFilesManager &m_manager;
    DragSessions &m_sessions;
    const ContentTypes &m_contentTypes;
    Scheduler &m_scheduler;
    int m_shownCards = 0;
    int m_revision = 0;
    TimerHandle m_detailTimer;
    QUrl m_pressedUrl;
    std::optional<QPointF> m_mouseDownPoint;
    bool m_didStartDragging = false;
};

} // namespace talvo
