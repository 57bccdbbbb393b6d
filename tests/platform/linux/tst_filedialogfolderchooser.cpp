#include "platform/linux/FileDialogFolderChooser.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
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

class TestFileDialogFolderChooser : public QObject
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
        FileDialogFolderChooser chooser;
        const std::optional<QString> chosen = chooser.chooseFolder({QStringLiteral("Why we ask"),
                                                                    QStringLiteral("Grant Access"), start});
        QCOMPARE(title, QStringLiteral("Why we ask"));
        QCOMPARE(acceptLabel, QStringLiteral("Grant Access"));
        QCOMPARE(shownDirectory, start);
        QCOMPARE(mode, QFileDialog::Directory);
        if (confirm)
            QCOMPARE(chosen, picked);
        else
            QVERIFY(!chosen);
    }

    void downloadsFolderIsTheXdgOneWhenItExists()
    {
        QTemporaryDir home;
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral(".config")));
        QFile dirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
        dirs.close();

        FileDialogFolderChooser chooser;
        const std::optional<QString> before = chooser.downloadsFolder();
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Fetched")));
        QVERIFY(!before);
        QCOMPARE(chooser.downloadsFolder(), home.filePath(QStringLiteral("Fetched")));
    }
};

QTEST_MAIN(TestFileDialogFolderChooser)
#include "tst_filedialogfolderchooser.moc"
