#include "SerialWorkQueue.h"

namespace talvo {

SerialWorkQueue::SerialWorkQueue(const QString &name)
{
    m_thread.setObjectName(name);
    m_worker = new QObject;
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

SerialWorkQueue::~SerialWorkQueue()
{
    m_thread.quit();
    m_thread.wait();
}

void SerialWorkQueue::dispatch(Work work)
{
    QMetaObject::invokeMethod(m_worker, std::move(work), Qt::QueuedConnection);
}

} // namespace talvo
