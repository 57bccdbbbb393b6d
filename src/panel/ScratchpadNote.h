#pragma once

#include "platform/Scheduler.h"

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class HapticFeedback;
class Preferences;
class SoundPlayer;

// The scratchpad's note, kept under "scratchpadText". Typing changes the note
// at once but writes the preferences file at most once per kWriteDelay: the
// first change after a write schedules the next one, later changes ride along.
// flush() writes what is pending now; the panel calls it when it closes, the
// application at quit, and the destructor as a last resort, so nothing typed
// is lost. An outside edit of the key shows unless a write is pending (then
// the user's typing wins).
//
// Main thread only.
class ScratchpadNote : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
public:
    static constexpr Scheduler::Duration kWriteDelay{300};

    ScratchpadNote(Preferences &preferences, Scheduler &scheduler, SoundPlayer &sounds, HapticFeedback &haptics,
                   QObject *parent = nullptr);
    ~ScratchpadNote() override;

    static ScratchpadNote *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    QString text() const { return m_text; }
    void setText(const QString &text);
    bool hasPendingWrite() const { return m_dirty; }

    Q_INVOKABLE void flush();
    // "Clear": empties the note and stores that at once.
    Q_INVOKABLE void clear();

signals:
    void textChanged();

private:
    void reload();

    Preferences &m_preferences;
    Scheduler &m_scheduler;
    SoundPlayer &m_sounds;
    HapticFeedback &m_haptics;
    QString m_text;
    bool m_dirty = false;
    TimerHandle m_pending;
};

} // namespace talvo
