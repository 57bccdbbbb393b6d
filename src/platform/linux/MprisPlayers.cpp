#include "MprisPlayers.h"

#include "DesktopEntryIcon.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDeadlineTimer>

#include <algorithm>

namespace talvo {

namespace {
const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString kPropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QVariantMap plainMap(const QVariant &value)
{
    return MprisPlayer::plainValue(value).toMap();
}
} // namespace

MprisPlayers::MprisPlayers(QDBusConnection bus, int callTimeoutMs, QObject *parent)
    : QObject(parent), m_bus(std::move(bus)), m_callTimeoutMs(callTimeoutMs)
{
    qRegisterMetaType<talvo::MprisPlayer>();
    if (!m_bus.isConnected())
        return;
    // The wildcard stands for a name space, which has no trailing dot.
    m_watcher = new QDBusServiceWatcher(MprisPlayer::kBusPrefix.chopped(1) + u'*', m_bus,
                                        QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &MprisPlayers::ownerChanged);
    // One subscription for every player; the sender's unique name says whose it is.
    m_bus.connect(QString(), MprisPlayer::kObjectPath, kPropertiesInterface, QStringLiteral("PropertiesChanged"), this,
                  SLOT(propertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));

    callAsync(QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService, QStringLiteral("ListNames")),
              [this](const QDBusMessage &reply) {
                  const QStringList names = reply.arguments().value(0).toStringList();
                  for (const QString &name : names) {
                      if (!name.startsWith(MprisPlayer::kBusPrefix))
                          continue;
                      QDBusMessage ask = QDBusMessage::createMethodCall(kBusService, kBusPath, kBusService,
                                                                        QStringLiteral("GetNameOwner"));
                      ask << name;
                      callAsync(ask, [this, name](const QDBusMessage &ownerReply) {
                          const QString owner = ownerReply.arguments().value(0).toString();
                          if (!owner.isEmpty())
                              add(name, owner);
                      });
                  }
              });
}

MprisPlayers::~MprisPlayers()
{
    if (m_bus.isConnected()) {
        m_bus.disconnect(QString(), MprisPlayer::kObjectPath, kPropertiesInterface,
                         QStringLiteral("PropertiesChanged"), this,
                         SLOT(propertiesChanged(QString, QVariantMap, QStringList, QDBusMessage)));
    }
}

void MprisPlayers::callAsync(const QDBusMessage &message, std::function<void(const QDBusMessage &)> done)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, m_callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [watcher, done = std::move(done)] {
        watcher->deleteLater();
        // A player that fails or never answers stays as it was.
        if (!watcher->isError())
            done(watcher->reply());
    });
}

void MprisPlayers::callPlayer(const QString &owner, const QDBusMessage &message, Done done)
{
    {
        QMutexLocker lock(&m_mutex);
        CallLine &line = m_lines[owner];
        if (line.busy) {
            const auto same = std::find_if(line.waiting.begin(), line.waiting.end(), [&](const auto &waiting) {
                const QDBusMessage &other = waiting.first;
                return other.service() == message.service() && other.path() == message.path()
                       && other.interface() == message.interface() && other.member() == message.member()
                       && other.arguments() == message.arguments();
            });
            // The same question once: the newest caller gets the answer.
            if (same != line.waiting.end())
                same->second = std::move(done);
            else
                line.waiting.append({message, std::move(done)});
            return;
        }
        line.busy = true;
    }
    send(owner, message, std::move(done));
}

void MprisPlayers::send(const QString &owner, const QDBusMessage &message, Done done)
{
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(message, m_callTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, owner, done = std::move(done)] {
        watcher->deleteLater();
        done(watcher->reply());
        sendNext(owner);
    });
}

void MprisPlayers::sendNext(const QString &owner)
{
    std::pair<QDBusMessage, Done> next;
    {
        QMutexLocker lock(&m_mutex);
        const auto line = m_lines.find(owner);
        if (line == m_lines.end())
            return;
        if (line->waiting.isEmpty()) {
            if (ownsAPlayer(owner))
                line->busy = false;
            else
                m_lines.erase(line);
            m_lineFreed.wakeAll();
            return;
        }
        next = line->waiting.takeFirst();
    }
    send(owner, next.first, std::move(next.second));
}

QDBusMessage MprisPlayers::callPlayerBlocking(const QString &owner, const QDBusMessage &message) const
{
    {
        QMutexLocker lock(&m_mutex);
        // A call already out is waited for as long as a call of our own may take.
        const QDeadlineTimer deadline(m_callTimeoutMs);
        while (m_lines.value(owner).busy) {
            if (!m_lineFreed.wait(&m_mutex, deadline)) {
                return message.createErrorReply(QStringLiteral("com.talvo.Talvo.Error.Busy"),
                                                QStringLiteral("the player has not answered an earlier call yet"));
            }
        }
        m_lines[owner].busy = true;
    }
    const QDBusMessage reply = m_bus.call(message, QDBus::Block, m_callTimeoutMs);
    bool waiting = false;
    {
        QMutexLocker lock(&m_mutex);
        const auto line = m_lines.find(owner);
        if (line != m_lines.end()) {
            waiting = !line->waiting.isEmpty();
            line->busy = waiting;
        }
        if (!waiting)
            m_lineFreed.wakeAll();
    }
    // Calls queued meanwhile go out from the main thread, where their answers run.
    if (waiting) {
        auto *self = const_cast<MprisPlayers *>(this);
        QMetaObject::invokeMethod(self, [self, owner] { self->sendNext(owner); }, Qt::QueuedConnection);
    }
    return reply;
}

bool MprisPlayers::ownsAPlayer(const QString &owner) const
{
    return std::any_of(m_players.cbegin(), m_players.cend(),
                       [&](const MprisPlayer &player) { return player.owner == owner; });
}

QList<MprisPlayer> MprisPlayers::players() const
{
    QMutexLocker lock(&m_mutex);
    return m_players.values();
}

std::optional<MprisPlayer> MprisPlayers::choose(const QList<MprisPlayer> &players, PlayerSlot slot)
{
    const bool spotify = slot == PlayerSlot::Spotify;
    std::optional<MprisPlayer> chosen;
    for (const MprisPlayer &candidate : players) {
        if (candidate.isSpotify() != spotify)
            continue;
        // By bus name (the list is sorted), a playing one before the rest.
        if (!chosen || (!spotify && candidate.isPlaying() && !chosen->isPlaying()))
            chosen = candidate;
    }
    return chosen;
}

std::optional<MprisPlayer> MprisPlayers::player(PlayerSlot slot) const
{
    return choose(players(), slot);
}

bool MprisPlayers::isRunning(PlayerSlot slot) const
{
    return player(slot).has_value();
}

QString MprisPlayers::displayName(PlayerSlot slot) const
{
    const auto found = player(slot);
    return found ? found->identity : QString();
}

QImage MprisPlayers::icon(PlayerSlot slot) const
{
    const auto found = player(slot);
    if (!found)
        return {};
    // Players that do not name their desktop entry are usually installed
    // under their short name.
    const QString entry = found->desktopEntry.isEmpty() ? found->shortName() : found->desktopEntry;
    auto cached = m_icons.constFind(entry);
    if (cached == m_icons.constEnd())
        cached = m_icons.insert(entry, DesktopEntryIcon::load(entry, kIconSize));
    return *cached;
}

void MprisPlayers::ownerChanged(const QString &busName, const QString &oldOwner, const QString &newOwner)
{
    if (!busName.startsWith(MprisPlayer::kBusPrefix))
        return;
    if (!oldOwner.isEmpty())
        remove(busName);
    if (!newOwner.isEmpty())
        add(busName, newOwner);
}

void MprisPlayers::add(const QString &busName, const QString &owner)
{
    {
        QMutexLocker lock(&m_mutex);
        const auto existing = m_players.constFind(busName);
        if (existing != m_players.constEnd() && existing->owner == owner)
            return;
        MprisPlayer player;
        player.busName = busName;
        player.owner = owner;
        m_players.insert(busName, player);
    }
    emit playerAdded(busName);
    askForProperties(busName, owner, MprisPlayer::kRootInterface);
    askForProperties(busName, owner, MprisPlayer::kPlayerInterface);
}

void MprisPlayers::remove(const QString &busName)
{
    std::optional<MprisPlayer> removed;
    {
        QMutexLocker lock(&m_mutex);
        const auto it = m_players.find(busName);
        if (it == m_players.end())
            return;
        removed = *it;
        m_players.erase(it);
        // Calls for an owner that has gone are not sent.
        const auto line = m_lines.find(removed->owner);
        if (line != m_lines.end() && !ownsAPlayer(removed->owner)) {
            line->waiting.clear();
            if (!line->busy)
                m_lines.erase(line);
            m_lineFreed.wakeAll();
        }
    }
    emit playerRemoved(*removed);
}

void MprisPlayers::askForProperties(const QString &busName, const QString &owner, const QString &interface)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(busName, MprisPlayer::kObjectPath, kPropertiesInterface,
                                                      QStringLiteral("GetAll"));
    ask << interface;
    callPlayer(owner, ask, [this, busName, owner](const QDBusMessage &reply) {
        // A player that fails or never answers stays as it was.
        if (reply.type() != QDBusMessage::ReplyMessage)
            return;
        update(busName, owner, plainMap(reply.arguments().value(0)));
    });
}

void MprisPlayers::askForProperty(const QString &busName, const QString &owner, const QString &name)
{
    const bool root = name == u"Identity" || name == u"DesktopEntry";
    QDBusMessage ask = QDBusMessage::createMethodCall(busName, MprisPlayer::kObjectPath, kPropertiesInterface,
                                                      QStringLiteral("Get"));
    ask << (root ? MprisPlayer::kRootInterface : MprisPlayer::kPlayerInterface) << name;
    callPlayer(owner, ask, [this, busName, owner, name](const QDBusMessage &reply) {
        if (reply.type() != QDBusMessage::ReplyMessage)
            return;
        update(busName, owner, {{name, MprisPlayer::plainValue(reply.arguments().value(0))}});
    });
}

void MprisPlayers::update(const QString &busName, const QString &owner, const QVariantMap &properties)
{
    bool changed = false;
    {
        QMutexLocker lock(&m_mutex);
        const auto it = m_players.find(busName);
        // An answer from an earlier owner of the name is not about this player.
        if (it == m_players.end() || it->owner != owner)
            return;
        changed = it->merge(properties);
    }
    if (changed)
        emit playerChanged(busName);
}

void MprisPlayers::propertiesChanged(const QString &interface, const QVariantMap &changed,
                                     const QStringList &invalidated, const QDBusMessage &message)
{
    if (interface != MprisPlayer::kPlayerInterface && interface != MprisPlayer::kRootInterface)
        return;
    const QString sender = message.service();
    QStringList owned;
    {
        QMutexLocker lock(&m_mutex);
        for (const MprisPlayer &player : std::as_const(m_players)) {
            if (player.owner == sender)
                owned.append(player.busName);
        }
    }
    const QVariantMap plain = plainMap(QVariant(changed));
    for (const QString &busName : std::as_const(owned)) {
        update(busName, sender, plain);
        // Some players announce only that a value changed; ask for it.
        for (const QString &name : invalidated) {
            if (name == u"PlaybackStatus" || name == u"Metadata" || name == u"Identity" || name == u"DesktopEntry")
                askForProperty(busName, sender, name);
        }
    }
}

} // namespace talvo
