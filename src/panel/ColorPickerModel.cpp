#include "ColorPickerModel.h"

#include "notch/NotchViewModel.h"
#include "platform/Clipboard.h"
#include "platform/ColorSampler.h"
#include "platform/HapticFeedback.h"
#include "platform/QmlInstances.h"
#include "platform/SoundPlayer.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"



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
