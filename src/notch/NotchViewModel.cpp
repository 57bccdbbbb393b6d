#include "NotchViewModel.h"

#include "platform/ApplicationCatalog.h"
#include "platform/ContentTypes.h"
#include "platform/SoundPlayer.h"
#include "platform/Thumbnailer.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"
#include "platform/QmlInstances.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>

namespace talvo {

struct NotchViewModel::PendingItem
{
    ShelfItem item;
    bool ready = false;
};

// The derived values change with several fields. Setters open a guard; the
// outermost one compares the derived values before and after and announces
// each real change once, however many fields changed inside it.
class NotchViewModel::DerivedGuard
{
public:
    explicit DerivedGuard(NotchViewModel &model)
        : m_model(model)
        , m_outermost(model.m_derivedGuards++ == 0)
        , m_draggingOut(model.isDraggingShelfItemOut())
        , m_panel(model.showsPanelContent())
    {
    }
    ~DerivedGuard()
    {
        --m_model.m_derivedGuards;
        if (!m_outermost)
            return;
        if (m_model.isDraggingShelfItemOut() != m_draggingOut)
            emit m_model.isDraggingShelfItemOutChanged();
        if (m_model.showsPanelContent() != m_panel)
            emit m_model.showsPanelContentChanged();
    }
    DerivedGuard(const DerivedGuard &) = delete;
    DerivedGuard &operator=(const DerivedGuard &) = delete;

private:
    NotchViewModel &m_model;
    bool m_outermost;
    bool m_draggingOut;
    bool m_panel;
};

NotchViewModel::NotchViewModel(Scheduler &scheduler, Preferences &preferences, ContentTypes &contentTypes,
                               Thumbnailer &thumbnailer, SoundPlayer &sounds, ApplicationCatalog &applications,
                               QObject *parent)
    : QObject(parent)
    , m_scheduler(scheduler)
    , m_preferences(preferences)
    , m_contentTypes(contentTypes)
    , m_thumbnailer(thumbnailer)
    , m_sounds(sounds)
    , m_applications(applications)
    , m_items(new ShelfItemListModel(contentTypes, this))
    , m_currentTime(scheduler.now())
{
    startClock();
    if (auto stored = m_preferences.value(PrefKey::favoriteApps))
        m_favoriteApps = *stored;
    else
        m_favoriteApps = m_applications.defaultFavoriteApps();
}

NotchViewModel::~NotchViewModel()
{
    m_clockTimer.cancel();
}

NotchViewModel *NotchViewModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<NotchViewModel>(qmlEngine);
}

const QList<ShelfItem> &NotchViewModel::itemList() const
{
    return m_items->items();
}

// --- published fields -------------------------------------------------------

#define TALVO_SETTER(Setter, member, signal) \
    void NotchViewModel::Setter(bool value) \
    { \
        if (member == value) \
            return; \
        DerivedGuard guard(*this); \
        member = value; \
        emit signal(); \
    }

TALVO_SETTER(setIsDragTargetActive, m_isDragTargetActive, isDragTargetActiveChanged)
TALVO_SETTER(setIsFileDragActive, m_isFileDragActive, isFileDragActiveChanged)
TALVO_SETTER(setIsShelfItemDragActive, m_isShelfItemDragActive, isShelfItemDragActiveChanged)
TALVO_SETTER(setIsFullyExpanded, m_isFullyExpanded, isFullyExpandedChanged)
TALVO_SETTER(setIsForcedOpen, m_isForcedOpen, isForcedOpenChanged)
TALVO_SETTER(setIsOnboardingGreetingActive, m_isOnboardingGreetingActive, isOnboardingGreetingActiveChanged)
TALVO_SETTER(setShowLimitReachedToast, m_showLimitReachedToast, showLimitReachedToastChanged)
TALVO_SETTER(setIsHoveringScrollableWidget, m_isHoveringScrollableWidget, isHoveringScrollableWidgetChanged)

#undef TALVO_SETTER

void NotchViewModel::setIsHovering(bool value)
{
    DerivedGuard guard(*this);
    if (m_isHovering != value) {
        m_isHovering = value;
        emit isHoveringChanged();
    }
    // Runs on every assignment, not only on a change: whatever expanded the
    // panel meanwhile, leaving the notch always collapses it to the home tab.
    if (!value) {
        setIsFullyExpanded(false);
        setActiveTab(NotchPanelTab::Home);
    }
}

void NotchViewModel::setActiveTab(NotchPanelTab tab)
{
    if (m_activeTab == tab)
        return;
    m_activeTab = tab;
    emit activeTabChanged();
}

void NotchViewModel::setToastMessage(const QString &message)
{
    if (m_toastMessage == message)
        return;
    m_toastMessage = message;
    emit toastMessageChanged();
}

void NotchViewModel::setToastStyle(ToastStyle style)
{
    if (m_toastStyle == style)
        return;
    m_toastStyle = style;
    emit toastStyleChanged();
}

bool NotchViewModel::isDraggingShelfItemOut() const
{
    return m_isShelfItemDragActive && m_items->count() > 0 && !m_isFileDragActive && !m_isDragTargetActive;
}

bool NotchViewModel::showsPanelContent() const
{
    return m_isHovering && m_isFullyExpanded && !m_isFileDragActive && !m_isDragTargetActive
        && !m_isOnboardingGreetingActive;
}

// --- shelf ------------------------------------------------------------------

void NotchViewModel::addItem(const ShelfItem &item)
{
    auto pending = std::make_shared<PendingItem>(PendingItem{item, true});
    if (item.type == ItemType::File && item.image.isNull()) {
        const QUrl url = item.url;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        const auto typeIcon = [this, url] {
            return ShelfImage::themeIcon(m_contentTypes.iconNameForExtension(lowerCaseExtension(lastPathComponent(url))));
        };

        if (!path.isEmpty() && info.isDir()) {
            pending->item.image = ShelfImage::themeIcon(m_contentTypes.folderIconName());
        } else if (!path.isEmpty() && info.isFile()) {
            pending->ready = false;
            makeThumbnail(url, kFileThumbnailSize, kFileThumbnailSize, this,
                          [this, pending, typeIcon](std::optional<QImage> thumbnail) {
                              pending->item.image = thumbnail ? ShelfImage::fromImage(*thumbnail) : typeIcon();
                              pending->ready = true;
                              enqueue(nullptr);
                          });
        } else {
            // Missing, or not a regular file (a FIFO or a device): nothing to
            // look inside, and opening it could block.
            pending->item.image = typeIcon();
        }
    }
    enqueue(pending);
    // One sound for the items of one turn: a drop of 2,000 files pops once
    // rather than keeping the sound thread busy for a minute.
    if (!std::exchange(m_poppedThisTurn, true)) {
        m_sounds.play(QStringLiteral("Pop"));
        m_scheduler.post(this, [this] { m_poppedThisTurn = false; });
    }
}

void NotchViewModel::enqueue(const std::shared_ptr<PendingItem> &pending)
{
    if (pending)
        m_pending.append(pending);
    if (m_flushPosted || m_pending.isEmpty() || !m_pending.constFirst()->ready)
        return;
    // The list never changes inside the caller's turn (often a drop
    // callback); it changes on the next turn of the event loop.
    m_flushPosted = true;
    m_scheduler.post(this, [this] { flushReadyItems(); });
}

void NotchViewModel::flushReadyItems()
{
    m_flushPosted = false;
    if (m_pending.isEmpty() || !m_pending.constFirst()->ready)
        return;
    DerivedGuard guard(*this);
    // An item whose picture is still coming holds back the ones added after
    // it, so the shelf keeps the order of the drops.
    while (!m_pending.isEmpty() && m_pending.constFirst()->ready)
        m_items->append(m_pending.takeFirst()->item);
    emit itemsChanged();
}

void NotchViewModel::removeItem(const QUuid &id)
{
    DerivedGuard guard(*this);
    if (m_items->removeAll(id) > 0)
        emit itemsChanged();
}

void NotchViewModel::removeItem(const QString &id)
{
    removeItem(QUuid(id));
}

void NotchViewModel::scheduleRemovalCheck(const QUuid &id, const QUrl &url, int attemptsLeft)
{
    const QString path = url.toLocalFile();
    // Without a file to look for, "no file there" would always hold and the
    // item would be thrown away for nothing.
    if (path.isEmpty())
        return;
    m_scheduler.after(kRemovalCheckInterval, this, [this, id, url, path, attemptsLeft] {
        if (QFileInfo::exists(path)) {
            if (attemptsLeft > 0)
                scheduleRemovalCheck(id, url, attemptsLeft - 1);
            return;
        }
        removeItem(id);
    });
}

void NotchViewModel::scheduleRemovalCheck(const QString &id, const QUrl &url, int attemptsLeft)
{
    scheduleRemovalCheck(QUuid(id), url, attemptsLeft);
}

void NotchViewModel::makeThumbnail(const QUrl &url, int width, int height, const QObject *context,
                                   std::function<void(std::optional<QImage>)> done)
{
    const QString path = url.toLocalFile();
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        m_scheduler.post(context, [done = std::move(done)] { done(std::nullopt); });
        return;
    }

    // Whichever comes first, the thumbnail or the end of the wait, answers;
    // the other finds the wait settled and does nothing.
    struct Wait
    {
        bool settled = false;
        TimerHandle timer;
        ThumbnailTicket ticket;
        std::function<void(std::optional<QImage>)> done;
    };
    auto wait = std::make_shared<Wait>();
    wait->done = std::move(done);
    const auto settle = [wait](std::optional<QImage> image) {
        if (wait->settled)
            return;
        wait->settled = true;
        wait->timer.cancel();
        wait->ticket.cancel();
        std::exchange(wait->done, {})(std::move(image));
    };
    wait->timer = m_scheduler.after(kThumbnailWait, context, [settle] { settle(std::nullopt); });
    m_thumbnailer.generate(path, QSize(width, height), thumbnailScale(), wait->ticket, context,
                           [settle](QImage image) {
                               settle(image.isNull() ? std::nullopt : std::optional<QImage>(std::move(image)));
                           });
}

qreal NotchViewModel::thumbnailScale()
{
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        if (QScreen *screen = QGuiApplication::primaryScreen())
            return screen->devicePixelRatio();
    }
    return 2.0;
}

// --- favourites -------------------------------------------------------------

void NotchViewModel::addFavoriteApp(const QString &path)
{
    if (m_favoriteApps.contains(path) || m_favoriteApps.size() >= kMaxFavoriteApps)
        return;
    m_favoriteApps.append(path);
    storeFavoriteApps();
    emit favoriteAppsChanged();
}

void NotchViewModel::removeFavoriteApp(const QString &path)
{
    const bool removed = m_favoriteApps.removeAll(path) > 0;
    storeFavoriteApps();
    if (removed)
        emit favoriteAppsChanged();
}

void NotchViewModel::storeFavoriteApps()
{
    m_preferences.setObject(m_favoriteApps, QString::fromLatin1(PrefKey::favoriteApps.name));
}

// --- toast and clock --------------------------------------------------------

void NotchViewModel::showToast(const QString &message, ToastStyle style)
{
    m_scheduler.post(this, [this, message, style] {
        setToastMessage(message);
        setToastStyle(style);
        setShowLimitReachedToast(true);
        m_sounds.play(style == ToastStyle::Success ? QStringLiteral("Tink") : QStringLiteral("Basso"));
        // Never cancelled by a newer toast: each toast's hide fires at its own time.
        m_scheduler.after(kToastDuration, this, [this] { setShowLimitReachedToast(false); });
    });
}

void NotchViewModel::startClock()
{
    m_clockTimer.cancel();
    m_clockTimer = m_scheduler.every(kClockInterval, this, [this] {
        const QDateTime now = m_scheduler.now();
        if (now == m_currentTime)
            return;
        m_currentTime = now;
        emit currentTimeChanged();
    });
}

// --- tabs -------------------------------------------------------------------

QList<NotchPanelTab> allNotchPanelTabs()
{
    return {NotchPanelTab::Home, NotchPanelTab::Shortcuts, NotchPanelTab::Tray};
}

QString rawValue(NotchPanelTab tab)
{
    switch (tab) {
    case NotchPanelTab::Home:
        return QStringLiteral("home");
    case NotchPanelTab::Shortcuts:
        return QStringLiteral("shortcuts");
    case NotchPanelTab::Tray:
        return QStringLiteral("tray");
    }
    return {};
}

std::optional<NotchPanelTab> notchPanelTabFromRawValue(const QString &raw)
{
    for (NotchPanelTab tab : allNotchPanelTabs()) {
        if (rawValue(tab) == raw)
            return tab;
    }
    return std::nullopt;
}

} // namespace talvo
