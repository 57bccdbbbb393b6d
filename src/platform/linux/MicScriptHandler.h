#pragma once

#include "ScriptBridge.h"

#include <memory>

namespace talvo {

class PulseAudioInput;

// The two input-volume scripts:
//   "input volume of (get volume settings)"  -> the volume 0-100
//   "set volume input volume N"              -> sets it (N decimal digits)
class MicScriptHandler final : public ScriptBridge::Handler
{
public:
    explicit MicScriptHandler(std::shared_ptr<PulseAudioInput> input);
    std::optional<ScriptResult> tryRun(const QString &source) override;

private:
    std::shared_ptr<PulseAudioInput> m_input;
};

} // namespace talvo
