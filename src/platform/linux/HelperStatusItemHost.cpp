#include "HelperStatusItemHost.h"

#include "HelperProcess.h"
#include "platform/Log.h"

#include <QCoreApplication>
#include <QProcess>

namespace talvo {

namespace {

class HelperStatusItem final : public StatusItem
{
public:
    HelperStatusItem(const QString &program, const QString &symbolName, const QString &toolTip,
                     std::function<void()> onActivate)
        : m_process(newHelperProcess(program,
                                     {QStringLiteral("status-item"), QStringLiteral("--symbol"), symbolName,
                                      QStringLiteral("--tooltip"), toolTip},
                                     lcTray()))
    {
        QObject::connect(m_process, &QProcess::readyReadStandardOutput, m_process,
                         [process = m_process, onActivate = std::move(onActivate)] {
                             while (process->canReadLine()) {
                                 if (process->readLine().trimmed() == "activated")
                                     onActivate();
                             }
                         });
        QObject::connect(m_process, &QProcess::errorOccurred, m_process, [](QProcess::ProcessError error) {
            if (error == QProcess::Crashed)
                qCWarning(lcTray).noquote() << QStringLiteral("The tray icon's helper crashed");
        });
        m_process->start();
    }

    ~HelperStatusItem() override
    {
        // Closing its input lets the helper take the icon down and end; the
        // main thread does not wait for it. Should Talvo end first, the
        // application takes the process down with it.
        m_process->disconnect();
        if (m_process->state() == QProcess::NotRunning) {
            delete m_process;
            return;
        }
        m_process->setParent(QCoreApplication::instance());
        QObject::connect(m_process, &QProcess::finished, m_process, &QObject::deleteLater);
        m_process->closeWriteChannel();
    }

private:
    QProcess *m_process;
};

} // namespace

std::unique_ptr<StatusItem> HelperStatusItemHost::addStatusItem(const QString &symbolName, const QString &toolTip,
                                                                std::function<void()> onActivate)
{
    return std::make_unique<HelperStatusItem>(m_helperProgram, symbolName, toolTip, std::move(onActivate));
}

} // namespace talvo
