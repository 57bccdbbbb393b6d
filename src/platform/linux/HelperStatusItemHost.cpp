#include "HelperStatusItemHost.h"

#include "platform/Log.h"

#include <QProcess>

namespace talvo {

namespace {

const QString kLogPrefix = QStringLiteral("[StatusItem] ");

class HelperStatusItem final : public StatusItem
{
public:
    HelperStatusItem(const QString &program, const QString &symbolName, const QString &toolTip,
                     std::function<void()> onActivate)
    {
        m_process.setProgram(program);
        m_process.setArguments({QStringLiteral("status-item"), QStringLiteral("--symbol"), symbolName,
                                QStringLiteral("--tooltip"), toolTip});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QObject::connect(&m_process, &QProcess::readyReadStandardOutput, &m_process,
                         [this, onActivate = std::move(onActivate)] {
                             while (m_process.canReadLine()) {
                                 if (m_process.readLine().trimmed() == "activated")
                                     onActivate();
                             }
                         });
        QObject::connect(&m_process, &QProcess::errorOccurred, &m_process, [this](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart || error == QProcess::Crashed)
                logLine(kLogPrefix, QStringLiteral("The tray icon's helper %1: %2")
                                        .arg(error == QProcess::Crashed ? QStringLiteral("crashed")
                                                                        : QStringLiteral("cannot start"),
                                             m_process.errorString()));
        });
        m_process.start();
    }

    ~HelperStatusItem() override
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        // Closing its input lets the helper take the icon down and end.
        m_process.disconnect();
        m_process.closeWriteChannel();
        if (!m_process.waitForFinished(500)) {
            m_process.kill();
            m_process.waitForFinished(500);
        }
    }

private:
    QProcess m_process;
};

} // namespace

std::unique_ptr<StatusItem> HelperStatusItemHost::addStatusItem(const QString &symbolName, const QString &toolTip,
                                                                std::function<void()> onActivate)
{
    return std::make_unique<HelperStatusItem>(m_helperProgram, symbolName, toolTip, std::move(onActivate));
}

} // namespace talvo
