#include "platform/linux/FatalSignalReport.h"

#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace talvo;

class TestFatalSignalReport : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A crashing child says so on standard error with its call stack, and
    // still dies of the signal it got (so that a core dump is written).
    void crashIsReportedAndStillKills_data()
    {
        QTest::addColumn<int>("signalNumber");
        QTest::newRow("segv") << SIGSEGV;
        QTest::newRow("abort") << SIGABRT;
    }
    void crashIsReportedAndStillKills()
    {
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("the sanitizer reports crashes itself");
#endif
        QFETCH(int, signalNumber);
        int output[2];
        QCOMPARE(::pipe(output), 0);
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::dup2(output[1], STDERR_FILENO);
            installFatalSignalReport();
            ::raise(signalNumber);
            ::_exit(0);
        }
        ::close(output[1]);
        QByteArray text;
        char buffer[4096];
        for (ssize_t n; (n = ::read(output[0], buffer, sizeof(buffer))) > 0;)
            text.append(buffer, n);
        ::close(output[0]);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        QCOMPARE(WTERMSIG(status), signalNumber);
        QVERIFY2(text.startsWith("talvo: fatal signal " + QByteArray::number(signalNumber) + "; call stack:\n"),
                 text.constData());
        QVERIFY2(text.count('\n') > 2, "no call stack");
    }
};

QTEST_GUILESS_MAIN(TestFatalSignalReport)
#include "tst_fatalsignalreport.moc"
