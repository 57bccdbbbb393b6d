#include "MusicCardModel.h"

#include <QRegularExpression>

namespace talvo {

namespace {
constexpr qreal kEdgeExtraWidth = 32;
constexpr qreal kMiddleExtraWidth = 80;
constexpr qreal kFirstShift = -32;
constexpr qreal kMiddleShift = -40;
constexpr qreal kMaskOpacity = 0.85;
} // namespace

bool MusicCardModel::showsNowPlayingFor(bool isPlaying, const QString &songTitle)
{
    return isPlaying || !songTitle.isEmpty();
}

QString MusicCardModel::clockFormat(const QLocale &locale)
{
    // Seconds with the separator before them ("HH:mm:ss" -> "HH:mm").
    static const QRegularExpression seconds(QStringLiteral("[^hHmaApPt']*s+"));
    return locale.timeFormat(QLocale::ShortFormat).remove(seconds).trimmed();
}

QString MusicCardModel::clockText(const QDateTime &time)
{
    const QLocale locale;
    return locale.toString(time.time(), clockFormat(locale));
}

MusicCardModel::Artwork MusicCardModel::framelessArtwork(int index, int count, qreal cardWidth)
{
    const bool first = index == 0;
    const bool last = index == count - 1;
    const qreal width = cardWidth + (first || last ? kEdgeExtraWidth : kMiddleExtraWidth);
    const qreal shift = first ? kFirstShift : (last ? 0 : kMiddleShift);
    // Centred on the card, then shifted and lifted.
    const QRectF rect((cardWidth - width) / 2 + shift, (kCardHeight - kFramelessArtworkHeight) / 2 - kFramelessArtworkLift,
                      width, kFramelessArtworkHeight);
    QList<qreal> mask;
    if (first)
        mask = {kMaskOpacity, 0};
    else if (last)
        mask = {0, kMaskOpacity};
    else
        mask = {0, kMaskOpacity, 0};
    return {rect, mask};
}

MusicCardModel::MusicCardModel(QObject *parent) : QObject(parent) {}

template <typename T>
void MusicCardModel::assign(T &field, const T &value)
{
    if (field == value)
        return;
    field = value;
    emit changed();
}

void MusicCardModel::setIsPlaying(bool value) { assign(m_isPlaying, value); }
void MusicCardModel::setSongTitle(const QString &value) { assign(m_songTitle, value); }
void MusicCardModel::setArtistName(const QString &value) { assign(m_artistName, value); }
void MusicCardModel::setAppName(const QString &value) { assign(m_appName, value); }
void MusicCardModel::setHasAlbumArt(bool value) { assign(m_hasAlbumArt, value); }
void MusicCardModel::setIndex(int value) { assign(m_index, value); }
void MusicCardModel::setCount(int value) { assign(m_count, value); }
void MusicCardModel::setFrameless(bool value) { assign(m_frameless, value); }
void MusicCardModel::setCardWidth(qreal value) { assign(m_cardWidth, value); }

QString MusicCardModel::titleText() const
{
    return m_songTitle.isEmpty() ? tr("Not Playing") : m_songTitle;
}

QString MusicCardModel::artistText() const
{
    return m_artistName.isEmpty() ? tr("Unknown Artist") : m_artistName;
}

QString MusicCardModel::playerText() const
{
    return m_appName.isEmpty() ? tr("Media") : m_appName;
}

QString MusicCardModel::playPauseSymbol() const
{
    return m_isPlaying ? QStringLiteral("pause.fill") : QStringLiteral("play.fill");
}

MusicCardModel::Background MusicCardModel::background() const
{
    if (m_frameless)
        return m_hasAlbumArt ? Background::FramelessArtwork : Background::None;
    return m_hasAlbumArt ? Background::FramedArtwork : Background::Plain;
}

QRectF MusicCardModel::artworkRect() const
{
    if (background() == Background::FramelessArtwork)
        return framelessArtwork(m_index, m_count, m_cardWidth).rect;
    return QRectF(0, 0, m_cardWidth, kCardHeight);
}

qreal MusicCardModel::artworkBlur() const
{
    return background() == Background::FramelessArtwork ? 45 : 30;
}

qreal MusicCardModel::artworkOpacity() const
{
    return background() == Background::FramelessArtwork ? 0.45 : 0.35;
}

QList<qreal> MusicCardModel::artworkMask() const
{
    if (background() != Background::FramelessArtwork)
        return {};
    return framelessArtwork(m_index, m_count, m_cardWidth).mask;
}

QVariantList MusicCardModel::artworkMaskVariant() const
{
    QVariantList list;
    for (qreal value : artworkMask())
        list.append(value);
    return list;
}

} // namespace talvo
