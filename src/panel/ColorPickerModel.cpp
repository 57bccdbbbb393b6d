#include "ColorPickerModel.h"

#include "notch/NotchViewModel.h"
#include "platform/Clipboard.h"
#include "platform/ColorSampler.h"
#include "platform/HapticFeedback.h"
#include "platform/QmlInstances.h"
#include "platform/SoundPlayer.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"


#include <cmath>

namespace talvo {

namespace {
const QString kKey = QString::fromLatin1(PrefKey::recentPickedColors.name);
} // namespace

const QStringList &ColorPickerModel::defaultPalette()
{
    static const QStringList palette{QStringLiteral("#FF2D55"), QStringLiteral("#FF9500"), QStringLiteral("#4CD964"),
                                     QStringLiteral("#5AC8FA"), QStringLiteral("#5856D6")};
    return palette;
}

ColorPickerModel::ColorPickerModel(Preferences &preferences, Clipboard &clipboard, SoundPlayer &sounds,
                                   HapticFeedback &haptics, Scheduler &scheduler, ColorSampler &sampler,
                                   NotchViewModel *viewModel, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_clipboard(clipboard)
    , m_sounds(sounds)
    , m_haptics(haptics)
    , m_scheduler(scheduler)
    , m_sampler(sampler)
    , m_viewModel(viewModel)
{
    connect(&m_preferences, &Preferences::keyChanged, this, [this](const QString &key) {
        if (key == kKey)
            emit colorsChanged();
    });
}

ColorPickerModel *ColorPickerModel::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ColorPickerModel>(qmlEngine);
}

QColor ColorPickerModel::parseHex(const QString &hex)
{
    qsizetype begin = 0;
    qsizetype end = hex.size();
    while (begin < end && !hex.at(begin).isLetterOrNumber())
        ++begin;
    while (end > begin && !hex.at(end - 1).isLetterOrNumber())
        --end;
    const QString digits = hex.mid(begin, end - begin);
    bool ok = false;
    quint64 value = digits.size() <= 16 ? digits.toULongLong(&ok, 16) : 0;
    if (!ok)
        value = 0;
    switch (digits.size()) {
    case 3:
        return QColor::fromRgb(int((value >> 8) & 0xF) * 17, int((value >> 4) & 0xF) * 17, int(value & 0xF) * 17);
    case 6:
        return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF));
    case 8:
        return QColor::fromRgb(int((value >> 16) & 0xFF), int((value >> 8) & 0xFF), int(value & 0xFF),
                               int((value >> 24) & 0xFF));
    default:
        return QColor::fromRgb(0, 0, 0);
    }
}

QString ColorPickerModel::hexOf(const QColor &color)
{
    const QColor rgb = color.toRgb();
    const auto component = [](float value) { return qBound(0, int(std::lround(value * 255)), 255); };
    return QStringLiteral("#%1%2%3")
        .arg(component(rgb.redF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.greenF()), 2, 16, QLatin1Char('0'))
        .arg(component(rgb.blueF()), 2, 16, QLatin1Char('0'))
        .toUpper();
}

QStringList ColorPickerModel::withPicked(QStringList list, const QString &hex)
{
    list.removeAll(hex);
    list.prepend(hex);
    // A list edited elsewhere may be longer; it never grows past the limit.
    if (list.size() > kMaxColors)
        list.resize(kMaxColors);
    return list;
}

QStringList ColorPickerModel::colors() const
{
    return m_preferences.value(PrefKey::recentPickedColors).value_or(defaultPalette());
}

bool ColorPickerModel::hasStoredColors() const
{
    return m_preferences.value(PrefKey::recentPickedColors).has_value();
}

QString ColorPickerModel::listLabel() const
{
    return hasStoredColors() ? tr("RECENT PICKED") : tr("PALETTE");
}

void ColorPickerModel::sample()
{
    if (m_isSampling)
        return;
    m_isSampling = true;
    emit isSamplingChanged();
    // The panel stays open while the user looks for the pixel.
    const bool wasForcedOpen = m_viewModel && m_viewModel->isForcedOpen();
    if (m_viewModel)
        m_viewModel->setIsForcedOpen(true);
    QPointer<ColorPickerModel> self(this);
    m_sampler.sample([self, wasForcedOpen](std::optional<QColor> color) {
        if (!self)
            return;
        self->finishSampling(wasForcedOpen);
        if (color && color->isValid())
            self->pick(*color);
    });
}

void ColorPickerModel::finishSampling(bool wasForcedOpen)
{
    if (m_viewModel)
        m_viewModel->setIsForcedOpen(wasForcedOpen);
    m_isSampling = false;
    emit isSamplingChanged();
}

void ColorPickerModel::pick(const QColor &color)
{
    const QString hex = hexOf(color);
    const QStringList stored = m_preferences.value(PrefKey::recentPickedColors).value_or(QStringList{});
    m_preferences.setObject(withPicked(stored, hex), kKey);
    copy(hex);
}

void ColorPickerModel::reset()
{
    m_preferences.removeObjectForKey(kKey);
}

void ColorPickerModel::copy(const QString &hex)
{
    m_clipboard.setString(hex);
    m_sounds.play(QStringLiteral("Glass"));
    m_haptics.perform();
    setJustCopiedColor(hex);
    // Each copy restarts the wait: a second click keeps the state longer.
    m_copiedTimer.cancel();
    m_copiedTimer = m_scheduler.after(kCopiedDuration, this, [this, hex] {
        if (m_justCopiedColor == hex)
            setJustCopiedColor(QString());
    });
}

void ColorPickerModel::setJustCopiedColor(const QString &hex)
{
    if (hex == m_justCopiedColor)
        return;
    m_justCopiedColor = hex;
    emit justCopiedColorChanged();
}

} // namespace talvo
