#include "platform/linux/HeapRelease.h"

#include <QFile>
#include <QTest>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace talvo;

namespace {

qint64 residentBytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

} // namespace

class TestHeapRelease : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizer's allocator keeps free memory of its own");
#elif !defined(__GLIBC__)
        QSKIP("other C libraries keep their own ways");
#endif
        keepLargeAllocationsMapped();
    }

    // A large picture freed once must not turn the next ones, made on a
    // worker thread, into memory its heap keeps for good.
    void largeBlocksOfAWorkerLeaveTheResidentSize()
    {
        constexpr std::size_t kPicture = 16 * 1024 * 1024;
        const auto touchAndFree = [](std::size_t size) {
            char *block = static_cast<char *>(std::malloc(size));
            std::memset(block, 1, size);
            asm volatile("" : : "g"(block) : "memory"); // kept, though never read
            std::free(block);
        };
        touchAndFree(kPicture);
        const qint64 before = residentBytes();
        std::thread([&] { touchAndFree(kPicture / 2); }).join();
        releaseFreeHeap();
        const qint64 after = residentBytes();
        QVERIFY2(after - before < 2 * 1024 * 1024,
                 qPrintable(QStringLiteral("resident %1 -> %2 MB").arg(before >> 20).arg(after >> 20)));
    }

    // Freed pages in the middle of the heap, which the allocator does not
    // hand back by itself, leave the resident size.
    void freedPagesLeaveTheResidentSize()
    {
        constexpr std::size_t kBlock = 1000;
        constexpr std::size_t kBlocks = 64 * 1024;
        std::vector<char *> blocks(kBlocks);
        for (char *&block : blocks) {
            block = static_cast<char *>(std::malloc(kBlock));
            std::memset(block, 1, kBlock);
        }
        // Every 32nd block stays, so no free run reaches the top of the heap.
        for (std::size_t i = 0; i < kBlocks; ++i) {
            if (i % 32 != 31)
                std::free(std::exchange(blocks[i], nullptr));
        }
        const qint64 before = residentBytes();
        releaseFreeHeap();
        const qint64 after = residentBytes();
        for (char *block : blocks)
            std::free(block);
        QVERIFY2(before - after > 32 * 1024 * 1024,
                 qPrintable(QStringLiteral("resident %1 -> %2 MB").arg(before >> 20).arg(after >> 20)));
    }
};

QTEST_GUILESS_MAIN(TestHeapRelease)
#include "tst_heaprelease.moc"
