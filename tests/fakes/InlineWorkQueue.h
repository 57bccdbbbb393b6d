#pragma once

#include "platform/WorkQueue.h"

#include <QList>

namespace talvo {

// A WorkQueue for tests. By default work runs at once on the calling thread;
// with holdWork(true) it waits until the test calls runHeld(), so a test can
// order completions (for example a slow first request finishing last).
class InlineWorkQueue final : public WorkQueue
{
public:
    void dispatch(Work work) override
    {
        if (m_hold) {
            m_held.append(std::move(work));
            return;
        }
        ++m_dispatched;
        work();
    }

    void holdWork(bool hold) { m_hold = hold; }
    int heldCount() const { return int(m_held.size()); }
    // Runs the held work at `index` (default: oldest first).
    void runHeld(int index = 0)
    {
        Work work = m_held.takeAt(index);
        ++m_dispatched;
        work();
    }
    void runAllHeld()
    {
        while (!m_held.isEmpty())
            runHeld();
    }
    int dispatchedCount() const { return m_dispatched; }

private:
    bool m_hold = false;
    int m_dispatched = 0;
    QList<Work> m_held;
};

} // namespace talvo
