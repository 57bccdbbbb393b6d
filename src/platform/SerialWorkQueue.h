#pragma once

#include "WorkQueue.h"

#include <QString>
#include <QThread>

namespace talvo {

// A WorkQueue backed by one thread with its own event loop. The thread stops
// (after finishing the work in hand) when the queue is destroyed.
class SerialWorkQueue final : public WorkQueue
{
public:
    explicit SerialWorkQueue(const QString &name);
    ~SerialWorkQueue() override;

    SerialWorkQueue(const SerialWorkQueue &) = delete;
    SerialWorkQueue &operator=(const SerialWorkQueue &) = delete;

    void dispatch(Work work) override;

private:
    QThread m_thread;
    QObject *m_worker = nullptr; // lives on m_thread
};

} // namespace talvo
