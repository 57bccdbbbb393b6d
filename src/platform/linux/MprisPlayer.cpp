#include "MprisPlayer.h"

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QDBusVariant>

#include <cmath>

namespace talvo {

namespace {

QVariant plainArgument(const QDBusArgument &argument)
{
    switch (argument.currentType()) {
    case QDBusArgument::MapType: {
        QVariantMap map;
        argument.beginMap();
        while (!argument.atEnd()) {
            argument.beginMapEntry();
            QVariant key;
            QVariant value;
            key = argument.asVariant();
            value = argument.asVariant();
            argument.endMapEntry();
            map.insert(MprisPlayer::plainValue(key).toString(), MprisPlayer::plainValue(value));
        }
        argument.endMap();
        return map;
    }
    case QDBusArgument::ArrayType: {
        QVariantList list;
        bool allText = true;
        argument.beginArray();
        while (!argument.atEnd()) {
            const QVariant item = MprisPlayer::plainValue(argument.asVariant());
            allText = allText && item.typeId() == QMetaType::QString;
            list.append(item);
        }
        argument.endArray();
        if (allText && !list.isEmpty()) {
            QStringList texts;
            for (const QVariant &item : std::as_const(list))
                texts.append(item.toString());
            return texts;
        }
        return list;
    }
    case QDBusArgument::StructureType: {
        QVariantList fields;
        argument.beginStructure();
        while (!argument.atEnd())
            fields.append(MprisPlayer::plainValue(argument.asVariant()));
        argument.endStructure();
        return fields;
    }
    default:
        return MprisPlayer::plainValue(argument.asVariant());
    }
}

} // namespace

QVariant MprisPlayer::plainValue(const QVariant &value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return plainValue(value.value<QDBusVariant>().variant());
    if (value.userType() == qMetaTypeId<QDBusArgument>())
        return plainArgument(value.value<QDBusArgument>());
    if (value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    if (value.typeId() == QMetaType::QVariantMap) {
        QVariantMap map = value.toMap();
        for (auto it = map.begin(); it != map.end(); ++it)
            *it = plainValue(*it);
        return map;
    }
    return value;
}

bool MprisPlayer::merge(const QVariantMap &properties)
{
    bool changed = false;
    for (auto it = properties.constBegin(); it != properties.constEnd(); ++it) {
        const QString &name = it.key();
        const QVariant &value = it.value();
        if (name == u"Identity") {
            identity = value.typeId() == QMetaType::QString ? value.toString() : QString();
        } else if (name == u"DesktopEntry") {
            desktopEntry = value.typeId() == QMetaType::QString ? value.toString() : QString();
        } else if (name == u"PlaybackStatus") {
            const QString status = value.typeId() == QMetaType::QString ? value.toString() : QString();
            changed = changed || status != playbackStatus;
            playbackStatus = status;
        } else if (name == u"Metadata") {
            const QVariantMap map = value.typeId() == QMetaType::QVariantMap ? value.toMap() : QVariantMap();
            changed = changed || map != metadata;
            metadata = map;
        }
    }
    return changed;
}

QString MprisPlayer::shortName(const QString &busName)
{
    if (!busName.startsWith(kBusPrefix))
        return {};
    return busName.mid(kBusPrefix.size()).section(QLatin1Char('.'), 0, 0);
}

QString MprisPlayer::title() const
{
    const QVariant value = metadata.value(QStringLiteral("xesam:title"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString MprisPlayer::artist() const
{
    const QVariant value = metadata.value(QStringLiteral("xesam:artist"));
    if (value.typeId() == QMetaType::QStringList) {
        const QStringList artists = value.toStringList();
        return artists.isEmpty() ? QString() : artists.first();
    }
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

std::optional<qint64> MprisPlayer::lengthMicroseconds() const
{
    return microseconds(metadata.value(QStringLiteral("mpris:length")));
}

QString MprisPlayer::album() const
{
    const QVariant value = metadata.value(QStringLiteral("xesam:album"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

QString MprisPlayer::artUrl() const
{
    const QVariant value = metadata.value(QStringLiteral("mpris:artUrl"));
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

PlayerStatus MprisPlayer::status(PlayerSlot slot, std::optional<qint64> positionMicroseconds) const
{
    PlayerStatus status;
    status.slot = slot;
    // A status not yet known, or not one of the three, counts as stopped.
    if (playbackStatus == u"Playing")
        status.state = PlaybackState::Playing;
    else if (playbackStatus == u"Paused")
        status.state = PlaybackState::Paused;
    status.title = title();
    status.artist = artist();
    status.album = album();
    if (const auto length = lengthMicroseconds())
        status.length = std::chrono::microseconds(*length);
    if (positionMicroseconds)
        status.position = std::chrono::microseconds(*positionMicroseconds);
    return status;
}

std::optional<qint64> MprisPlayer::microseconds(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::UChar: {
        const qint64 number = value.toLongLong();
        return number >= 0 ? std::optional(number) : std::nullopt;
    }
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const quint64 number = value.toULongLong();
        return number <= quint64(std::numeric_limits<qint64>::max()) ? std::optional(qint64(number)) : std::nullopt;
    }
    case QMetaType::Double:
    case QMetaType::Float: {
        const double number = value.toDouble();
        if (!std::isfinite(number) || number < 0 || number > 9.0e18)
            return std::nullopt;
        return qint64(number);
    }
    default:
        return std::nullopt;
    }
}

} // namespace talvo
