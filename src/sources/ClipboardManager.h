#pragma once

#include "ClipboardHistoryModel.h"
#include "ClipboardItem.h"
#include "platform/Scheduler.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class Clipboard;
class WorkQueue;

// A short, newest-first history of what the user copied anywhere on the
// desktop: texts, links, colour codes and images. It lives in memory only and
// starts empty; whatever was on the clipboard before the manager existed is
// never recorded, nor is anything a password manager marked as secret.
//
// A large picture (a screenshot) is packed as PNG on the work queue once it
// is in the history, and only a preview stays unpacked: fifteen full-screen
// pictures would otherwise hold half a gigabyte. Copying it back unpacks it.
//
// Main thread only. The history changes one event-loop turn after the poll
// that saw the copy, never inside it.
class ClipboardManager : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(talvo::ClipboardHistoryModel *history READ historyModel CONSTANT)
public:
    static constexpr int historyLimit = 15;
    static constexpr Scheduler::Duration pollInterval{500};
    // Pictures above this many bytes are packed; their previews are at most
    // this many pixels on their longer side.
    static constexpr qsizetype packAboveBytes = 4 * 1024 * 1024;
    static constexpr int previewSide = 256;

    ClipboardManager(Clipboard &clipboard, Scheduler &scheduler, WorkQueue &packing, QObject *parent = nullptr);
    ~ClipboardManager() override;

    static ClipboardManager *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    const QList<ClipboardItem> &history() const { return m_history.items(); }
    ClipboardHistoryModel *historyModel() { return &m_history; }
    qint64 lastChangeCount() const { return m_lastChangeCount; }

    // Polls the clipboard from now on; later calls do nothing.
    Q_INVOKABLE void startMonitoring();
    // Stops the polling; what was recorded stays.
    Q_INVOKABLE void stopMonitoring();
    void checkPasteboard();
    void recordText(const QString &text);
    void recordImage(const QImage &image);
    // Puts the entry back on the clipboard without recording it again or
    // moving it in the history.
    void copyToPasteboard(const ClipboardItem &item);
    // The same for the entry with this id (as the views know it).
    Q_INVOKABLE void copyToPasteboard(const QString &id);
    Q_INVOKABLE void clearHistory();

    // "#" followed by exactly 3, 6 or 8 hexadecimal digits.
    static bool isColorCode(const QString &text);
    // The kind of an already trimmed text.
    static ClipboardType classifyText(const QString &text);

signals:
    // Once per insertion or clearing.
    void historyChanged();

private:
    void insert(const ClipboardItem &item);
    void pack(const ClipboardItem &item);

    Clipboard &m_clipboard;
    Scheduler &m_scheduler;
    WorkQueue &m_packing;
    ClipboardHistoryModel m_history;
    qint64 m_lastChangeCount = 0;
    TimerHandle m_timer;
};

} // namespace talvo
