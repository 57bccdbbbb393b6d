#include "FolderDialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace talvo;

namespace {

// Acts on the dialog once it is up, from inside its modal loop.
void whenDialogShows(std::function<void(QFileDialog *)> act)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start(10);
}

} // namespace

// The helper program's own pieces: the folder dialog, and the program's
// contract with Talvo where no user is needed.
class TestFolderDialog : public QObject
{
    Q_OBJECT
private slots:
    void confirmedFolderIsReturned_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::newRow("confirmed") << true;
        QTest::newRow("cancelled") << false;
    }
    void confirmedFolderIsReturned()
    {
        QFETCH(bool, confirm);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("start/Picked")));
        const QString start = root.filePath(QStringLiteral("start"));
        const QString picked = root.filePath(QStringLiteral("start/Picked"));

        QString title, acceptLabel, shownDirectory;
        QFileDialog::FileMode mode = QFileDialog::AnyFile;
        whenDialogShows([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            acceptLabel = dialog->labelText(QFileDialog::Accept);
            shownDirectory = dialog->directory().absolutePath();
            mode = dialog->fileMode();
            if (confirm) {
                dialog->setDirectory(picked);
                static_cast<QDialog *>(dialog)->accept(); // as the confirming button does
            } else {
                dialog->reject();
            }
        });
        const std::optional<QString> chosen =
            chooseFolderWithDialog({QStringLiteral("Why we ask"), QStringLiteral("Grant Access"), start});
        QCOMPARE(title, QStringLiteral("Why we ask"));
        QCOMPARE(acceptLabel, QStringLiteral("Grant Access"));
        QCOMPARE(shownDirectory, start);
        QCOMPARE(mode, QFileDialog::Directory);
        if (confirm)
            QCOMPARE(chosen, picked);
        else
            QVERIFY(!chosen);
    }

    // The tray icon's helper goes away with Talvo (its input closing), and
    // refuses what it does not know.
    void helperProgramContract_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("status item ends with its input")
            << QStringList{QStringLiteral("status-item"), QStringLiteral("--symbol"), QStringLiteral("mic.slash.fill"),
                           QStringLiteral("--tooltip"), QStringLiteral("Mic Muted")}
            << 0;
        QTest::newRow("unknown command") << QStringList{QStringLiteral("launch-rockets")} << 2;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("status-item"), QStringLiteral("--colour")} << 2;
    }
    void helperProgramContract()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QProcess helper;
        helper.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        helper.start(QStringLiteral(TALVO_HELPER), arguments);
        QVERIFY(helper.waitForStarted());
        helper.closeWriteChannel();
        QVERIFY(helper.waitForFinished(10000));
        QCOMPARE(helper.exitStatus(), QProcess::NormalExit);
        QCOMPARE(helper.exitCode(), exitCode);
    }
};

QTEST_MAIN(TestFolderDialog)
#include "tst_folderdialog.moc"
