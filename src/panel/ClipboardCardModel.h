#pragma once

#include "platform/Scheduler.h"
#include "sources/ClipboardType.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class ClipboardManager;
class HapticFeedback;
class SoundPlayer;

// The clipboard card's rules: the clipboard is polled only while a clipboard
// card is on screen (cardShown/cardHidden count the cards), each row's title
// and kind label, and the click that copies an entry back and marks its row
// "Copied!" for kCopiedMs.
//
// Main thread only.
class ClipboardCardModel : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    // Ids of the rows showing "Copied!".
    Q_PROPERTY(QStringList justCopiedIds READ justCopiedIds NOTIFY justCopiedIdsChanged)
public:
    static constexpr Scheduler::Duration kCopiedDuration{1000};

    ClipboardCardModel(ClipboardManager &manager, SoundPlayer &sounds, HapticFeedback &haptics, Scheduler &scheduler,
                       QObject *parent = nullptr);

    static ClipboardCardModel *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    // `type` is the raw value ("text", "link", "image", "color").
    Q_INVOKABLE static QString title(const QString &type, const QString &text);
    Q_INVOKABLE static QString kindLabel(const QString &type);
    static QString title(ClipboardType type, const QString &text);

    Q_INVOKABLE void cardShown();
    Q_INVOKABLE void cardHidden();
    Q_INVOKABLE void copyBack(const QString &id);

    QStringList justCopiedIds() const { return m_justCopied.keys(); }

signals:
    void justCopiedIdsChanged();

private:
    ClipboardManager &m_manager;
    SoundPlayer &m_sounds;
    HapticFeedback &m_haptics;
    Scheduler &m_scheduler;
    int m_shownCards = 0;
    QHash<QString, TimerHandle> m_justCopied;
};

} // namespace talvo
