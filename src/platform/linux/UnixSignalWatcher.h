#pragma once

#include <QList>
#include <QObject>

class QSocketNotifier;

namespace talvo {

// Turns POSIX signals into a Qt signal on the main thread (the classic
// self-pipe: the handler only writes one byte).
class UnixSignalWatcher : public QObject
{
    Q_OBJECT
public:
    explicit UnixSignalWatcher(const QList<int> &signalNumbers, QObject *parent = nullptr);
    ~UnixSignalWatcher() override;

signals:
    void received(int signalNumber);

private:
    void readPending();

    QSocketNotifier *m_notifier = nullptr;
    QList<int> m_signals;
};

} // namespace talvo
