#include "MicScriptHandler.h"

#include "PulseAudioInput.h"

#include <QRegularExpression>

namespace talvo {

MicScriptHandler::MicScriptHandler(std::shared_ptr<PulseAudioInput> input) : m_input(std::move(input)) {}

std::optional<ScriptResult> MicScriptHandler::tryRun(const QString &source)
{
    if (source == u"input volume of (get volume settings)") {
        const auto volume = m_input->volumePercent();
        if (!volume)
            return ScriptResult::error(m_input->lastError());
        return ScriptResult::ok(ScriptReply::fromInt(*volume));
    }
    static const QRegularExpression setVolume(QStringLiteral("^set volume input volume ([0-9]{1,9})$"));
    const QRegularExpressionMatch match = setVolume.match(source);
    if (!match.hasMatch())
        return std::nullopt;
    if (!m_input->setVolumePercent(std::min(match.captured(1).toInt(), 100)))
        return ScriptResult::error(m_input->lastError());
    return ScriptResult::ok(ScriptReply::fromText(QString()));
}

} // namespace talvo
