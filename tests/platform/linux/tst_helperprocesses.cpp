#include "platform/linux/HelperFolderChooser.h"
#include "platform/linux/HelperStatusItemHost.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

namespace {

// Writes an executable shell script standing in for talvo-helper.
QString writeHelper(const QTemporaryDir &dir, const QByteArray &body)
{
    const QString path = dir.filePath(QStringLiteral("talvo-helper"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write("#!/bin/sh\n" + body + '\n');
    file.close();
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// Talvo's side of the helper program: what it passes, how it reads the
// answers, and that nothing a broken helper says is taken for a folder.
class TestHelperProcesses : public QObject
{
    Q_OBJECT
private slots:
    void folderChooserReadsTheHelpersAnswer_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("expected"); // empty: nothing chosen
        QTest::addColumn<QString>("logged");

        QTest::newRow("confirmed") << QByteArray("printf '/home/u/My Calendars\\n'") << "/home/u/My Calendars" << "";
        QTest::newRow("a newline inside the name") << QByteArray("printf '/tmp/two\\nlines\\n'") << "/tmp/two\nlines"
                                                   << "";
        QTest::newRow("cancelled") << QByteArray("exit 1") << "" << "";
        QTest::newRow("crashed") << QByteArray("kill -SEGV $$") << ""
                                 << "The folder dialog failed (exit by a crash)";
        QTest::newRow("error exit") << QByteArray("printf '/tmp\\n'; exit 3") << ""
                                    << "The folder dialog failed (exit 3)";
        QTest::newRow("cut-off answer") << QByteArray("printf '/tmp/half'") << ""
                                        << "The folder dialog failed (exit 0)";
        QTest::newRow("relative path") << QByteArray("printf 'Downloads\\n'") << ""
                                       << "The folder dialog answered with a relative path; ignored";
    }
    void folderChooserReadsTheHelpersAnswer()
    {
        QFETCH(QByteArray, script);
        QFETCH(QString, logged);
        QTemporaryDir dir;
        const QString arguments = dir.filePath(QStringLiteral("arguments"));
        HelperFolderChooser chooser(
            writeHelper(dir, "printf '%s|' \"$@\" > '" + arguments.toUtf8() + "'\n" + script));
        if (!logged.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(logged));

        const std::optional<QString> chosen =
            chooser.chooseFolder({QStringLiteral("Why we ask"), QStringLiteral("Grant Access"), QStringLiteral("/srv")});

        QTEST(chosen.value_or(QString()), "expected");
        QFile passed(arguments);
        QVERIFY(passed.open(QIODevice::ReadOnly));
        QCOMPARE(passed.readAll(), QByteArray("choose-folder|--message|Why we ask|--prompt|Grant Access|--start|/srv|"));
    }

    void missingHelperChoosesNothing()
    {
        HelperFolderChooser chooser(QStringLiteral("/nonexistent/talvo-helper"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot start ")));
        QVERIFY(!chooser.chooseFolder({QStringLiteral("m"), QStringLiteral("p"), QString()}));
    }

    // The answer of a request whose asker is gone reaches nobody.
    void laterAnswerSkipsAGoneContext()
    {
        QTemporaryDir dir;
        HelperFolderChooser chooser(writeHelper(dir, "printf '/tmp\\n'"));
        auto context = std::make_unique<QObject>();
        bool answered = false;
        chooser.chooseFolderLater({QStringLiteral("m"), QStringLiteral("p"), QString()}, context.get(),
                                  [&](std::optional<QString>) { answered = true; });
        context.reset();
        QTest::qWait(300);
        QVERIFY(!answered);
    }

    void statusItemActivatesAndEndsItsHelper()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("ended"));
        // Clicks twice, then waits for its input to close, as the real helper does.
        HelperStatusItemHost host(writeHelper(
            dir, "printf 'activated\\nnoise\\nactivated\\n'; cat > /dev/null; touch '" + marker.toUtf8() + "'"));
        int activations = 0;
        std::unique_ptr<StatusItem> item =
            host.addStatusItem(QStringLiteral("mic.slash.fill"), QStringLiteral("Mic Muted"), [&] { ++activations; });
        QTRY_COMPARE(activations, 2);
        item.reset();
        QTRY_VERIFY(QFile::exists(marker));
    }

    void downloadsFolderIsTheXdgOneWhenItExists()
    {
        QTemporaryDir home;
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral(".config"))));
        QVERIFY(QDir(home.path()).mkpath(QStringLiteral(".config")));
        QFile dirs(home.filePath(QStringLiteral(".config/user-dirs.dirs")));
        QVERIFY(dirs.open(QIODevice::WriteOnly));
        dirs.write("XDG_DOWNLOAD_DIR=\"$HOME/Fetched\"\n");
        dirs.close();

        HelperFolderChooser chooser(QStringLiteral("/nonexistent/talvo-helper"));
        const std::optional<QString> before = chooser.downloadsFolder();
        QVERIFY(QDir(home.path()).mkdir(QStringLiteral("Fetched")));
        const std::optional<QString> after = chooser.downloadsFolder();
        qputenv("HOME", oldHome);
        qputenv("XDG_CONFIG_HOME", oldConfig);
        QVERIFY(!before);
        QCOMPARE(after, home.filePath(QStringLiteral("Fetched")));
    }
};

QTEST_MAIN(TestHelperProcesses)
#include "tst_helperprocesses.moc"
