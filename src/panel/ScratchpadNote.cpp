#include "ScratchpadNote.h"

#include "platform/HapticFeedback.h"
#include "platform/QmlInstances.h"
#include "platform/SoundPlayer.h"
#include "preferences/PreferenceKeys.h"
#include "preferences/Preferences.h"

#include <utility>

namespace talvo {

namespace {
const QString kKey = QString::fromLatin1(PrefKey::scratchpadText.name);
} // namespace

ScratchpadNote::ScratchpadNote(Preferences &preferences, Scheduler &scheduler, SoundPlayer &sounds,
                               HapticFeedback &haptics, QObject *parent)
    : QObject(parent)
    , m_preferences(preferences)
    , m_scheduler(scheduler)
    , m_sounds(sounds)
    , m_haptics(haptics)
    , m_text(preferences.value(PrefKey::scratchpadText))
{
    connect(&m_preferences, &Preferences::keyChanged, this, [this](const QString &key) {
        if (key == kKey && !hasPendingWrite())
            reload();
    });
}

ScratchpadNote::~ScratchpadNote()
{
    flush();
}

ScratchpadNote *ScratchpadNote::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ScratchpadNote>(qmlEngine);
}

void ScratchpadNote::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    emit textChanged();
    if (std::exchange(m_dirty, true))
        return;
    m_pending = m_scheduler.after(kWriteDelay, this, [this] { flush(); });
}

void ScratchpadNote::flush()
{
    if (!std::exchange(m_dirty, false))
        return;
    m_pending.cancel();
    m_preferences.setObject(m_text, kKey);
}

void ScratchpadNote::clear()
{
    setText(QString());
    flush();
    m_sounds.play(QStringLiteral("Glass"));
    m_haptics.perform();
}

void ScratchpadNote::reload()
{
    const QString stored = m_preferences.value(PrefKey::scratchpadText);
    if (stored == m_text)
        return;
    m_text = stored;
    emit textChanged();
}

} // namespace talvo
