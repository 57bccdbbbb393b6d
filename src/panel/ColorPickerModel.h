#pragma once

#include "platform/Scheduler.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class Clipboard;
class ColorSampler;
class HapticFeedback;
class NotchViewModel;
class Preferences;
class SoundPlayer;

// The colour picker card: the picked colours (most recent first, at most
// kMaxColors, stored under "RecentPickedColors"; the palette while none is
// stored), sampling a pixel of the screen with the notch held open, and
// copying a colour's hex code with a "Copied" state that lasts kCopiedDuration
// after the latest copy of that colour.
//
// Main thread only.
class ColorPickerModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Up to kMaxColors swatches, as "#RRGGBB".
    Q_PROPERTY(QStringList swatches READ swatches NOTIFY colorsChanged)
    Q_PROPERTY(bool hasStoredColors READ hasStoredColors NOTIFY colorsChanged)
    Q_PROPERTY(bool showsReset READ showsReset NOTIFY colorsChanged)
    Q_PROPERTY(QString listLabel READ listLabel NOTIFY colorsChanged)
    Q_PROPERTY(QString justCopiedColor READ justCopiedColor NOTIFY justCopiedColorChanged)
    Q_PROPERTY(bool isSampling READ isSampling NOTIFY isSamplingChanged)
public:
    static constexpr int kMaxColors = 5;
    static constexpr Scheduler::Duration kCopiedDuration{1200};

    static const QStringList &defaultPalette();

    ColorPickerModel(Preferences &preferences, Clipboard &clipboard, SoundPlayer &sounds, HapticFeedback &haptics,
                     Scheduler &scheduler, ColorSampler &sampler, NotchViewModel *viewModel = nullptr,
                     QObject *parent = nullptr);

    static ColorPickerModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // The colour a hex code stands for: blanks and symbols at the ends are
    // ignored; 3 digits (RGB, each doubled), 6 (RRGGBB) or 8 (AARRGGBB);
    // anything else, or digits that do not read, is black.
    Q_INVOKABLE static QColor parseHex(const QString &hex);
    // "#RRGGBB" of the colour in sRGB.
    static QString hexOf(const QColor &color);
    // The stored list after picking `hex`: at the front, once, at most kMaxColors.
    static QStringList withPicked(QStringList list, const QString &hex);

    QStringList colors() const;
    QStringList swatches() const { return colors().mid(0, kMaxColors); }
    bool hasStoredColors() const;
    bool showsReset() const { return hasStoredColors() && !colors().isEmpty(); }
    QString listLabel() const;
    QString justCopiedColor() const { return m_justCopiedColor; }
    bool isSampling() const { return m_isSampling; }

    // Lets the user pick a pixel; the result is stored and copied.
    Q_INVOKABLE void sample();
    Q_INVOKABLE void pick(const QColor &color);
    Q_INVOKABLE void reset();
    Q_INVOKABLE void copy(const QString &hex);

signals:
    void colorsChanged();
    void justCopiedColorChanged();
    void isSamplingChanged();

private:
    void setJustCopiedColor(const QString &hex);
    void finishSampling(bool wasForcedOpen);

    Preferences &m_preferences;
    Clipboard &m_clipboard;
    SoundPlayer &m_sounds;
    HapticFeedback &m_haptics;
    Scheduler &m_scheduler;
    ColorSampler &m_sampler;
    QPointer<NotchViewModel> m_viewModel;
    QString m_justCopiedColor;
    TimerHandle m_copiedTimer;
    bool m_isSampling = false;
};

} // namespace talvo
