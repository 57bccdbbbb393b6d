#pragma once

#include "platform/ScriptRunner.h"

#include <QList>
#include <QMutex>

#include <memory>

namespace talvo {

// The Linux script runner. Talvo sends a fixed set of script texts; each
// handler recognises some of them exactly and carries them out with a Linux
// service (PulseAudio for the input volume, MPRIS for players, ...). Any other
// text is refused with an error naming its first line. Nothing is ever passed
// to a shell or an interpreter.
class ScriptBridge final : public ScriptRunner
{
public:
    class Handler
    {
    public:
        virtual ~Handler() = default;
        // Nothing when the text is not one of this handler's; otherwise the
        // result of carrying it out. Called on any thread.
        virtual std::optional<ScriptResult> tryRun(const QString &source) = 0;
    };

    ScriptBridge();
    ~ScriptBridge() override;

    void addHandler(std::unique_ptr<Handler> handler);

    // Nothing for an empty text; otherwise a script that runs through the handlers.
    std::unique_ptr<Script> createScript(const QString &source) override;

    ScriptResult execute(const QString &source);

private:
    QMutex m_mutex; // guards the list, not the handlers' work
    QList<std::shared_ptr<Handler>> m_handlers;
};

} // namespace talvo
