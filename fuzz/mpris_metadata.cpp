// What media players publish over D-Bus: their properties and the track's
// metadata map, with values of whatever type a player chooses.

#include "FuzzSupport.h"
#include "platform/linux/MprisPlayer.h"

#include <QDBusObjectPath>
#include <QDBusVariant>

#include <fuzzer/FuzzedDataProvider.h>

using namespace talvo;

namespace {

QVariant value(FuzzedDataProvider &input, int depth)
{
    const QString text = QString::fromStdString(input.ConsumeRandomLengthString(64));
    switch (input.ConsumeIntegralInRange(0, depth > 3 ? 14 : 18)) {
    case 0: return text;
    case 1: return QStringList{text, QString::fromStdString(input.ConsumeRandomLengthString(16))};
    case 2: return QStringList();
    case 3: return input.ConsumeIntegral<int>();
    case 4: return input.ConsumeIntegral<uint>();
    case 5: return QVariant::fromValue(input.ConsumeIntegral<short>());
    case 6: return QVariant::fromValue(input.ConsumeIntegral<ushort>());
    case 7: return QVariant::fromValue(input.ConsumeIntegral<long>());
    case 8: return QVariant::fromValue(input.ConsumeIntegral<ulong>());
    case 9: return input.ConsumeIntegral<qlonglong>();
    case 10: return input.ConsumeIntegral<qulonglong>();
    case 11: return QVariant::fromValue(input.ConsumeIntegral<uchar>());
    case 12: return input.ConsumeFloatingPoint<double>();
    case 13: return QVariant::fromValue(input.ConsumeFloatingPoint<float>());
    case 14: return input.ConsumeBool();
    case 15: return QVariant::fromValue(QDBusVariant(value(input, depth + 1)));
    case 16: return QVariant::fromValue(QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/Track/1")));
    case 17: {
        QVariantList list;
        for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
            list.append(value(input, depth + 1));
        return list;
    }
    default: {
        QVariantMap map;
        for (int i = input.ConsumeIntegralInRange(0, 3); i > 0; --i)
            map.insert(QString::fromStdString(input.ConsumeRandomLengthString(16)), value(input, depth + 1));
        return map;
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const char *const metadataKeys[] = {"xesam:title", "xesam:artist", "xesam:album", "mpris:length",
                                               "mpris:artUrl", "mpris:trackid", "xesam:url"};
    static const char *const propertyNames[] = {"Identity", "DesktopEntry", "PlaybackStatus", "Metadata", "Position"};
    FuzzedDataProvider input(data, size);
    MprisPlayer player;
    player.busName = QStringLiteral("org.mpris.MediaPlayer2.") + QString::fromStdString(input.ConsumeRandomLengthString(24));
    while (input.remaining_bytes() > 0) {
        QVariantMap metadata;
        for (int i = input.ConsumeIntegralInRange(0, 6); i > 0; --i)
            metadata.insert(QString::fromLatin1(input.PickValueInArray(metadataKeys)), value(input, 0));
        QVariantMap properties;
        for (int i = input.ConsumeIntegralInRange(0, 4); i > 0; --i)
            properties.insert(QString::fromLatin1(input.PickValueInArray(propertyNames)), value(input, 0));
        if (input.ConsumeBool())
            properties.insert(QStringLiteral("Metadata"), QVariant(metadata));

        QVariantMap plain;
        for (auto it = properties.cbegin(); it != properties.cend(); ++it)
            plain.insert(it.key(), MprisPlayer::plainValue(it.value()));
        player.merge(plain);

        const auto length = player.lengthMicroseconds();
        FUZZ_CHECK(!length || *length >= 0);
        const auto position = MprisPlayer::microseconds(value(input, 0));
        FUZZ_CHECK(!position || *position >= 0);
        const PlayerStatus status = player.status(PlayerSlot::Other, position);
        FUZZ_CHECK(status.title == player.title() && status.artist == player.artist());
        player.artUrl();
        player.shortName();
    }
    return 0;
}
