#include "fakes/InlineWorkQueue.h"
#include "fakes/VirtualScheduler.h"
#include "platform/linux/QtClipboard.h"
#include "sources/ClipboardManager.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace talvo;

namespace {

// Runs the helper program that plays another application on the X clipboard.
class OtherProgram
{
public:
    // Copies and waits until the helper owns the clipboard.
    bool copy(const QStringList &args)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QStringLiteral(CLIPBOARD_OWNER), args);
        if (!process->waitForStarted())
            return false;
        // Waiting with the event loop running: the previous owner may be us,
        // and the helper's copy is only complete once we let go.
        QSignalSpy ready(process.get(), &QProcess::readyReadStandardOutput);
        if (!ready.wait(10000) && !process->canReadLine())
            return false;
        const bool ok = process->readLine().trimmed() == "ready";
        m_owners.push_back(std::move(process));
        return ok;
    }
    // What another program reads from the clipboard now.
    QString read()
    {
        QProcess process;
        process.start(QStringLiteral(CLIPBOARD_OWNER), {QStringLiteral("read")});
        QSignalSpy finished(&process, &QProcess::finished);
        // We may own the clipboard: keep serving it while the helper reads.
        if (!finished.wait(10000))
            return QStringLiteral("<no answer>");
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    ~OtherProgram()
    {
        for (auto &process : m_owners) {
            process->kill();
            process->waitForFinished();
        }
    }

private:
    std::vector<std::unique_ptr<QProcess>> m_owners;
};

// X delivers other programs' changes as events; lets them arrive.
bool waitForChange(const Clipboard &clipboard, qint64 since)
{
    return QTest::qWaitFor([&] { return clipboard.changeCount() > since; }, 10000);
}

QStringList texts(const QList<ClipboardItem> &items)
{
    QStringList result;
    for (const auto &item : items)
        result << (item.image ? QStringLiteral("<image %1x%2>").arg(item.image->width()).arg(item.image->height())
                              : item.text.value_or(QString()));
    return result;
}

} // namespace

class TestQtClipboard : public QObject
{
    Q_OBJECT
private slots:
    void othersCopiesMoveTheCountAndCanBeRead()
    {
        QtClipboard clipboard;
        OtherProgram other;
        qint64 count = clipboard.changeCount();
        QVERIFY(other.copy({QStringLiteral("text"), QStringLiteral("from elsewhere")}));
        QVERIFY(waitForChange(clipboard, count));
        QCOMPARE(clipboard.string(), QStringLiteral("from elsewhere"));
        QVERIFY(clipboard.image().isNull());
        QVERIFY(!clipboard.isConcealed());

        count = clipboard.changeCount();
        QVERIFY(other.copy({QStringLiteral("secret"), QStringLiteral("hunter2")}));
        QVERIFY(waitForChange(clipboard, count));
        QVERIFY(clipboard.isConcealed());

        count = clipboard.changeCount();
        QVERIFY(other.copy({QStringLiteral("image"), QStringLiteral("40"), QStringLiteral("30"),
                            QStringLiteral("#ff0000"), QStringLiteral("photo.png")}));
        QVERIFY(waitForChange(clipboard, count));
        const QImage image = clipboard.image();
        QCOMPARE(image.size(), QSize(40, 30));
        QCOMPARE(QColor(image.pixel(5, 5)), QColor(Qt::red));
        QCOMPARE(clipboard.string(), QStringLiteral("photo.png"));
    }

    void ownWritesMoveTheCountOnceAndAtOnce()
    {
        QtClipboard clipboard;
        OtherProgram other;
        // Start from another owner, as in real use.
        qint64 count = clipboard.changeCount();
        QVERIFY(other.copy({QStringLiteral("text"), QStringLiteral("theirs")}));
        QVERIFY(waitForChange(clipboard, count));

        count = clipboard.changeCount();
        clipboard.setString(QStringLiteral("ours"));
        QCOMPARE(clipboard.changeCount(), count + 1);
        QTest::qWait(300); // our own ownership change comes back from X as an event
        QCOMPARE(clipboard.changeCount(), count + 1);
        QCOMPARE(other.read(), QStringLiteral("ours"));

        count = clipboard.changeCount();
        QImage image(12, 8, QImage::Format_RGB32);
        image.fill(Qt::blue);
        clipboard.setImage(image);
        QCOMPARE(clipboard.changeCount(), count + 1);
        QTest::qWait(300);
        QCOMPARE(clipboard.changeCount(), count + 1);
        QCOMPARE(other.read(), QStringLiteral("<image 12x8>"));
    }

    void historyFollowsTheRealClipboard()
    {
        QtClipboard clipboard;
        VirtualScheduler scheduler;
        OtherProgram other;
        const auto copy = [&](const QStringList &args) {
            const qint64 count = clipboard.changeCount();
            if (!other.copy(args) || !waitForChange(clipboard, count))
                return false;
            scheduler.advance(ClipboardManager::pollInterval);
            return true;
        };
        QVERIFY(copy({QStringLiteral("text"), QStringLiteral("before we started")}));

        InlineWorkQueue packing;
        ClipboardManager manager(clipboard, scheduler, packing);
        manager.startMonitoring();
        scheduler.advance(4 * ClipboardManager::pollInterval.count());
        QVERIFY(manager.history().isEmpty());

        QVERIFY(copy({QStringLiteral("text"), QStringLiteral("A")}));
        QVERIFY(copy({QStringLiteral("text"), QStringLiteral(" A\n")}));
        QVERIFY(copy({QStringLiteral("text"), QStringLiteral("B")}));
        QCOMPARE(texts(manager.history()), (QStringList{"B", "A"}));

        manager.copyToPasteboard(manager.history().at(1));
        QTest::qWait(300);
        scheduler.advance(4 * ClipboardManager::pollInterval.count());
        QCOMPARE(texts(manager.history()), (QStringList{"B", "A"}));
        QCOMPARE(other.read(), QStringLiteral("A"));

        QVERIFY(copy({QStringLiteral("image"), QStringLiteral("40"), QStringLiteral("30"), QStringLiteral("red"),
                      QStringLiteral("caption")}));
        QCOMPARE(texts(manager.history()), (QStringList{"<image 40x30>", "B", "A"}));
    }
};

QTEST_MAIN(TestQtClipboard)
#include "tst_qtclipboard.moc"
