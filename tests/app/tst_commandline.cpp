#include "app/CommandLine.h"
#include "platform/ControlClient.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTextStream>

using namespace talvo;
using namespace Qt::Literals::StringLiterals;

namespace {

// The running instance as the command line sees it: records calls, refuses
// what it is told to.
class FakeControlClient final : public ControlClient
{
public:
    bool running = true;
    QString refusal;
    QVariantMap published;
    QString method;
    QVariantList arguments;

    bool isRunning() override { return running; }
    PlatformResult<> call(const QString &m, const QVariantList &a) override
    {
        method = m;
        arguments = a;
        return refusal.isEmpty() ? PlatformResult<>::success() : PlatformResult<>::failure(refusal);
    }
    PlatformResult<QVariantMap> state() override { return PlatformResult<QVariantMap>::success(published); }
};

} // namespace

class TestCommandLine : public QObject
{
    Q_OBJECT

    struct Run
    {
        int code;
        QString out;
        QString err;
    };
    Run run(FakeControlClient &client, const QStringList &arguments)
    {
        QString out;
        QString err;
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        CommandLine commandLine{client, outStream, errStream, u"/home/user/work"_s,
                                [] { return u"typed text\n"_s; }};
        const int code = commandLine.run(arguments);
        outStream.flush();
        errStream.flush();
        return {code, out, err};
    }

private slots:
    void verbsBecomeCalls_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("method"); // empty: no call
        QTest::addColumn<QVariantList>("callArguments");
        QTest::addColumn<int>("code");

        QTest::newRow("open defaults to home") << QStringList{u"open"_s} << u"Open"_s << QVariantList{u"home"_s} << 0;
        QTest::newRow("open a tab") << QStringList{u"open"_s, u"shortcuts"_s} << u"Open"_s
                                    << QVariantList{u"shortcuts"_s} << 0;
        QTest::newRow("open two tabs") << QStringList{u"open"_s, u"home"_s, u"tray"_s} << QString() << QVariantList() << 2;
        QTest::newRow("collapse") << QStringList{u"collapse"_s} << u"Collapse"_s << QVariantList() << 0;
        QTest::newRow("quit with an argument") << QStringList{u"quit"_s, u"now"_s} << QString() << QVariantList() << 2;
        QTest::newRow("paths resolved against the caller")
            << QStringList{u"add"_s, u"a.txt"_s, u"../b"_s, u"/tmp/c"_s} << u"AddPaths"_s
            << QVariantList{QStringList{u"/home/user/work/a.txt"_s, u"/home/user/b"_s, u"/tmp/c"_s}} << 0;
        QTest::newRow("add nothing") << QStringList{u"add"_s} << QString() << QVariantList() << 2;
        QTest::newRow("text") << QStringList{u"add"_s, u"--text"_s, u"hello"_s} << u"AddText"_s
                              << QVariantList{u"hello"_s} << 0;
        QTest::newRow("text from standard input") << QStringList{u"add"_s, u"--text"_s, u"-"_s} << u"AddText"_s
                                                  << QVariantList{u"typed text\n"_s} << 0;
        QTest::newRow("text missing") << QStringList{u"add"_s, u"--text"_s} << QString() << QVariantList() << 2;
        QTest::newRow("settings") << QStringList{u"settings"_s} << u"ShowSettings"_s << QVariantList{QString()} << 0;
        QTest::newRow("settings page") << QStringList{u"settings"_s, u"widgets"_s} << u"ShowSettings"_s
                                       << QVariantList{u"widgets"_s} << 0;
        QTest::newRow("status with a stray option") << QStringList{u"status"_s, u"--xml"_s} << QString()
                                                    << QVariantList() << 2;
        QTest::newRow("unknown verb") << QStringList{u"launch"_s} << QString() << QVariantList() << 2;
    }
    void verbsBecomeCalls()
    {
        QFETCH(QStringList, arguments);
        FakeControlClient client;
        const Run result = run(client, arguments);
        QTEST(result.code, "code");
        QTEST(client.method, "method");
        QTEST(client.arguments, "callArguments");
        if (result.code == 2)
            QVERIFY2(result.err.contains(u"usage:"_s), qPrintable(result.err));
    }

    void refusalsAndAbsenceExitWithOne()
    {
        FakeControlClient client;
        client.refusal = u"No tab \"attic\""_s;
        Run result = run(client, {u"open"_s, u"attic"_s});
        QCOMPARE(result.code, 1);
        QCOMPARE(result.err, u"talvo: No tab \"attic\"\n"_s);

        client.running = false;
        client.method.clear();
        result = run(client, {u"collapse"_s});
        QCOMPARE(result.code, 1);
        QCOMPARE(result.err, u"talvo: Talvo is not running\n"_s);
        QVERIFY(client.method.isEmpty());
        // Help needs no instance.
        QCOMPARE(run(client, {u"--help"_s}).code, 0);
    }

    void statusAsTextAndJson()
    {
        FakeControlClient client;
        client.published = {{u"isHovering"_s, false},
                            {u"itemCount"_s, 2},
                            {u"items"_s, QStringList{u"file a.txt"_s, u"text hi"_s}},
                            {u"notchRect"_s, QVariantList{867.5, 0.0, 185.0, 24.0}}};
        const Run text = run(client, {u"status"_s});
        QCOMPARE(text.code, 0);
        QCOMPARE(text.out, u"isHovering: false\nitemCount: 2\nitems: \n  file a.txt\n  text hi\n"
                           u"notchRect: 867.5 0 185 24\n"_s);
        const Run json = run(client, {u"status"_s, u"--json"_s});
        QCOMPARE(QJsonDocument::fromJson(json.out.toUtf8()).object().toVariantMap(),
                 QJsonDocument::fromVariant(client.published).object().toVariantMap());
    }
};

QTEST_GUILESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
