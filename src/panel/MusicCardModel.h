#pragma once

#include <QDateTime>
#include <QLocale>
#include <QObject>
#include <QRectF>
#include <QString>
#include <QVariantList>
#include <QtQml/qqmlregistration.h>

namespace talvo {

// What the music card shows: the now-playing layout or the clock with the
// launch buttons, the texts with their fallbacks, the play/pause symbol, and
// the artwork background for the card's place among the active widgets.
//
//     MusicCardModel {
//         isPlaying: NowPlayingManager.isPlaying; songTitle: NowPlayingManager.songTitle; ...
//         index: card.index; count: card.count; frameless: ...; cardWidth: width
//     }
//
// Main thread only. Every output follows `changed`.
class MusicCardModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isPlaying MEMBER m_isPlaying WRITE setIsPlaying NOTIFY changed)
    Q_PROPERTY(QString songTitle MEMBER m_songTitle WRITE setSongTitle NOTIFY changed)
    Q_PROPERTY(QString artistName MEMBER m_artistName WRITE setArtistName NOTIFY changed)
    Q_PROPERTY(QString appName MEMBER m_appName WRITE setAppName NOTIFY changed)
    Q_PROPERTY(bool hasAlbumArt MEMBER m_hasAlbumArt WRITE setHasAlbumArt NOTIFY changed)
    Q_PROPERTY(int index MEMBER m_index WRITE setIndex NOTIFY changed)
    Q_PROPERTY(int count MEMBER m_count WRITE setCount NOTIFY changed)
    Q_PROPERTY(bool frameless MEMBER m_frameless WRITE setFrameless NOTIFY changed)
    Q_PROPERTY(qreal cardWidth MEMBER m_cardWidth WRITE setCardWidth NOTIFY changed)

    Q_PROPERTY(bool showsNowPlaying READ showsNowPlaying NOTIFY changed)
    Q_PROPERTY(QString titleText READ titleText NOTIFY changed)
    Q_PROPERTY(QString artistText READ artistText NOTIFY changed)
    Q_PROPERTY(QString playerText READ playerText NOTIFY changed)
    Q_PROPERTY(QString playPauseSymbol READ playPauseSymbol NOTIFY changed)
    Q_PROPERTY(Background background READ background NOTIFY changed)
    // The artwork's frame in card coordinates, its blur radius and opacity.
    Q_PROPERTY(QRectF artworkRect READ artworkRect NOTIFY changed)
    Q_PROPERTY(qreal artworkBlur READ artworkBlur NOTIFY changed)
    Q_PROPERTY(qreal artworkOpacity READ artworkOpacity NOTIFY changed)
    // Frameless only: the leading-to-trailing mask, evenly spaced opacities.
    Q_PROPERTY(QVariantList artworkMask READ artworkMaskVariant NOTIFY changed)

public:
    enum class Background { Plain, FramedArtwork, FramelessArtwork, None };
    Q_ENUM(Background)

    static constexpr qreal kCardHeight = 100;
    static constexpr qreal kFramelessArtworkHeight = 135;
    static constexpr qreal kFramelessArtworkLift = 18;

    struct Artwork
    {
        QRectF rect;
        QList<qreal> mask; // empty: none
    };

    static bool showsNowPlayingFor(bool isPlaying, const QString &songTitle);
    // The clock of the empty state: the locale's short time without seconds
    // (hour in the locale's digits, AM/PM where it uses one, and minute).
    static QString clockFormat(const QLocale &locale);
    Q_INVOKABLE static QString clockText(const QDateTime &time);
    // The frameless artwork for a card of `cardWidth` at `index` of `count`.
    static Artwork framelessArtwork(int index, int count, qreal cardWidth);

    explicit MusicCardModel(QObject *parent = nullptr);

    void setIsPlaying(bool value);
    void setSongTitle(const QString &value);
    void setArtistName(const QString &value);
    void setAppName(const QString &value);
    void setHasAlbumArt(bool value);
    void setIndex(int value);
    void setCount(int value);
    void setFrameless(bool value);
    void setCardWidth(qreal value);

    bool showsNowPlaying() const { return showsNowPlayingFor(m_isPlaying, m_songTitle); }
    QString titleText() const;
    QString artistText() const;
    QString playerText() const;
    QString playPauseSymbol() const;
    Background background() const;
    QRectF artworkRect() const;
    qreal artworkBlur() const;
    qreal artworkOpacity() const;
    QList<qreal> artworkMask() const;
    QVariantList artworkMaskVariant() const;

signals:
    void changed();

private:
    template <typename T>
    void assign(T &field, const T &value);

    bool m_isPlaying = false;
    QString m_songTitle;
    QString m_artistName;
    QString m_appName;
    bool m_hasAlbumArt = false;
    int m_index = 0;
    int m_count = 1;
    bool m_frameless = true;
    qreal m_cardWidth = 0;
};

} // namespace talvo
