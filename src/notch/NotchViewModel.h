#pragma once

#include "platform/Scheduler.h"
#include "shelf/ShelfItem.h"
#include "shelf/ShelfItemListModel.h"

#include <QDateTime>
#include <QImage>
#include <QObject>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <QtQml/qqmlregistration.h>

#include <functional>
#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class ApplicationCatalog;
class ContentTypes;
class Preferences;
class SoundPlayer;
class Thumbnailer;

// The one shared state of the notch: the shelf's items, the drag and hover
// flags the window controller drives, the panel's tab, the favourite
// applications, a transient toast and the panel's clock.
//
// Main thread only. Every property's change signal fires once per real change.
class NotchViewModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(talvo::ShelfItemListModel *items READ items CONSTANT)
    Q_PROPERTY(bool isDragTargetActive READ isDragTargetActive WRITE setIsDragTargetActive NOTIFY isDragTargetActiveChanged)
    Q_PROPERTY(bool isFileDragActive READ isFileDragActive WRITE setIsFileDragActive NOTIFY isFileDragActiveChanged)
    Q_PROPERTY(bool isShelfItemDragActive READ isShelfItemDragActive WRITE setIsShelfItemDragActive NOTIFY isShelfItemDragActiveChanged)
    Q_PROPERTY(NotchPanelTab activeTab READ activeTab WRITE setActiveTab NOTIFY activeTabChanged)
    Q_PROPERTY(QStringList favoriteApps READ favoriteApps NOTIFY favoriteAppsChanged)
    Q_PROPERTY(bool isHovering READ isHovering WRITE setIsHovering NOTIFY isHoveringChanged)
    Q_PROPERTY(bool isFullyExpanded READ isFullyExpanded WRITE setIsFullyExpanded NOTIFY isFullyExpandedChanged)
    Q_PROPERTY(bool isForcedOpen READ isForcedOpen WRITE setIsForcedOpen NOTIFY isForcedOpenChanged)
    Q_PROPERTY(bool isOnboardingGreetingActive READ isOnboardingGreetingActive WRITE setIsOnboardingGreetingActive NOTIFY isOnboardingGreetingActiveChanged)
    Q_PROPERTY(bool showLimitReachedToast READ showLimitReachedToast WRITE setShowLimitReachedToast NOTIFY showLimitReachedToastChanged)
    Q_PROPERTY(QString toastMessage READ toastMessage WRITE setToastMessage NOTIFY toastMessageChanged)
    Q_PROPERTY(ToastStyle toastStyle READ toastStyle WRITE setToastStyle NOTIFY toastStyleChanged)
    Q_PROPERTY(QDateTime currentTime READ currentTime NOTIFY currentTimeChanged)
    Q_PROPERTY(bool isHoveringScrollableWidget READ isHoveringScrollableWidget WRITE setIsHoveringScrollableWidget NOTIFY isHoveringScrollableWidgetChanged)
    // Derived.
    Q_PROPERTY(bool isDraggingShelfItemOut READ isDraggingShelfItemOut NOTIFY isDraggingShelfItemOutChanged)
    Q_PROPERTY(bool showsPanelContent READ showsPanelContent NOTIFY showsPanelContentChanged)

public:
    // Raw values "home", "shortcuts", "tray" (see rawValue()).
    enum class NotchPanelTab { Home, Shortcuts, Tray };
    Q_ENUM(NotchPanelTab)
    enum class ToastStyle { Success, Warning, Info };
    Q_ENUM(ToastStyle)

    static constexpr Scheduler::Duration kThumbnailWait{800};
    static constexpr Scheduler::Duration kRemovalCheckInterval{200};
    static constexpr Scheduler::Duration kToastDuration{2000};
    static constexpr Scheduler::Duration kClockInterval{30000};
    static constexpr int kMaxFavoriteApps = 6;
    static constexpr int kFileThumbnailSize = 80; // logical pixels, both sides

    // Starts the clock and loads the favourite applications.
    NotchViewModel(Scheduler &scheduler, Preferences &preferences, ContentTypes &contentTypes,
                   Thumbnailer &thumbnailer, SoundPlayer &sounds, ApplicationCatalog &applications,
                   QObject *parent = nullptr);
    ~NotchViewModel() override;

    // QML gets the instance the window controller built (see QmlInstances.h).
    static NotchViewModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    ShelfItemListModel *items() const { return m_items; }
    // The shelf's contents, oldest first.
    const QList<ShelfItem> &itemList() const;

    bool isDragTargetActive() const { return m_isDragTargetActive; }
    void setIsDragTargetActive(bool value);
    bool isFileDragActive() const { return m_isFileDragActive; }
    void setIsFileDragActive(bool value);
    bool isShelfItemDragActive() const { return m_isShelfItemDragActive; }
    void setIsShelfItemDragActive(bool value);
    NotchPanelTab activeTab() const { return m_activeTab; }
    void setActiveTab(NotchPanelTab tab);
    QStringList favoriteApps() const { return m_favoriteApps; }
    bool isHovering() const { return m_isHovering; }
    // Every assignment of false also collapses: not fully expanded, home tab.
    void setIsHovering(bool value);
    bool isFullyExpanded() const { return m_isFullyExpanded; }
    void setIsFullyExpanded(bool value);
    bool isForcedOpen() const { return m_isForcedOpen; }
    void setIsForcedOpen(bool value);
    bool isOnboardingGreetingActive() const { return m_isOnboardingGreetingActive; }
    void setIsOnboardingGreetingActive(bool value);
    bool showLimitReachedToast() const { return m_showLimitReachedToast; }
    void setShowLimitReachedToast(bool value);
    QString toastMessage() const { return m_toastMessage; }
    void setToastMessage(const QString &message);
    ToastStyle toastStyle() const { return m_toastStyle; }
    void setToastStyle(ToastStyle style);
    QDateTime currentTime() const { return m_currentTime; }
    bool isHoveringScrollableWidget() const { return m_isHoveringScrollableWidget; }
    void setIsHoveringScrollableWidget(bool value);

    // One of the shelf's own items is being dragged out and no outside drag
    // is going on.
    bool isDraggingShelfItemOut() const;
    // The expanded panel's content is on screen (not the drop hint, not the
    // greeting).
    bool showsPanelContent() const;

    // Adds an item to the shelf. Plays "Pop" at once (once for all the items
    // added in one event-loop turn, as a drop adds them); the item is appended on
    // a later event-loop turn, a file item without a picture once its picture
    // is known (a folder's icon at once, a file's thumbnail within
    // kThumbnailWait, else its type's icon). Items are appended in the order
    // they were added.
    void addItem(const ShelfItem &item);
    // Removes every item with this id.
    void removeItem(const QUuid &id);
    Q_INVOKABLE void removeItem(const QString &id);
    // After an item was dragged out: looks for its file every
    // kRemovalCheckInterval, `attemptsLeft` + 1 times in all, and removes the
    // item as soon as the file is gone from its place.
    void scheduleRemovalCheck(const QUuid &id, const QUrl &url, int attemptsLeft);
    Q_INVOKABLE void scheduleRemovalCheck(const QString &id, const QUrl &url, int attemptsLeft);
    // Favourites are desktop-entry paths; at most kMaxFavoriteApps, no
    // duplicates. Every change is stored at once.
    Q_INVOKABLE void addFavoriteApp(const QString &path);
    Q_INVOKABLE void removeFavoriteApp(const QString &path);
    // Shows `message` for kToastDuration (on the next event-loop turn) and
    // plays "Tink" for success, "Basso" otherwise. A newer toast replaces the
    // text; an older toast's hide still ends it at its own time.
    Q_INVOKABLE void showToast(const QString &message, ToastStyle style);
    // (Re)starts the repeating clock that refreshes currentTime.
    void startClock();
    // Asks for a thumbnail of at most width x height logical pixels at the
    // primary screen's scale. `done` runs on the main thread within
    // kThumbnailWait with the image, or with nothing (no thumbnail, not a
    // regular file, or too slow). Never blocks.
    void makeThumbnail(const QUrl &url, int width, int height, const QObject *context,
                       std::function<void(std::optional<QImage>)> done);

    // Device pixels per logical pixel for thumbnails: the primary screen's,
    // or 2.0 with no screen.
    static qreal thumbnailScale();

signals:
    // After the shelf's contents changed (also visible through `items`).
    void itemsChanged();
    void isDragTargetActiveChanged();
    void isFileDragActiveChanged();
    void isShelfItemDragActiveChanged();
    void activeTabChanged();
    void favoriteAppsChanged();
    void isHoveringChanged();
    void isFullyExpandedChanged();
    void isForcedOpenChanged();
    void isOnboardingGreetingActiveChanged();
    void showLimitReachedToastChanged();
    void toastMessageChanged();
    void toastStyleChanged();
    void currentTimeChanged();
    void isHoveringScrollableWidgetChanged();
    void isDraggingShelfItemOutChanged();
    void showsPanelContentChanged();

private:
    struct PendingItem;
    class DerivedGuard;

    void enqueue(const std::shared_ptr<PendingItem> &pending);
    void flushReadyItems();
    void storeFavoriteApps();

    Scheduler &m_scheduler;
    Preferences &m_preferences;
    ContentTypes &m_contentTypes;
    Thumbnailer &m_thumbnailer;
    SoundPlayer &m_sounds;
    ApplicationCatalog &m_applications;

    ShelfItemListModel *m_items = nullptr;
    QList<std::shared_ptr<PendingItem>> m_pending; // added, not yet appended; in order
    bool m_flushPosted = false;
    bool m_poppedThisTurn = false;
    int m_derivedGuards = 0;

    bool m_isDragTargetActive = false;
    bool m_isFileDragActive = false;
    bool m_isShelfItemDragActive = false;
    NotchPanelTab m_activeTab = NotchPanelTab::Home;
    QStringList m_favoriteApps;
    bool m_isHovering = false;
    bool m_isFullyExpanded = false;
    bool m_isForcedOpen = false;
    bool m_isOnboardingGreetingActive = false;
    bool m_showLimitReachedToast = false;
    QString m_toastMessage;
    ToastStyle m_toastStyle = ToastStyle::Warning;
    QDateTime m_currentTime;
    bool m_isHoveringScrollableWidget = false;
    TimerHandle m_clockTimer;
};

using NotchPanelTab = NotchViewModel::NotchPanelTab;
using ToastStyle = NotchViewModel::ToastStyle;

// The tabs in display order.
QList<NotchPanelTab> allNotchPanelTabs();
QString rawValue(NotchPanelTab tab);
// Exact match only; any other text names no tab.
std::optional<NotchPanelTab> notchPanelTabFromRawValue(const QString &raw);

} // namespace talvo
