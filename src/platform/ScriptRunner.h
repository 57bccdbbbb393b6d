#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace talvo {

// What a script answered: its text (may be absent), its raw bytes and its
// 32-bit integer value.
struct ScriptReply
{
    std::optional<QString> text;
    QByteArray data;
    qint32 int32Value = 0;

    static ScriptReply fromText(const QString &text)
    {
        return ScriptReply{text, text.toUtf8(), text.trimmed().toInt()};
    }
    static ScriptReply fromInt(qint32 value)
    {
        return ScriptReply{QString::number(value), QByteArray::number(value), value};
    }
    static ScriptReply fromData(const QByteArray &bytes) { return ScriptReply{std::nullopt, bytes, 0}; }
};

// Either a reply or an error with a description.
struct ScriptResult
{
    std::optional<ScriptReply> reply;
    QString errorDescription;

    static ScriptResult ok(ScriptReply reply) { return ScriptResult{std::move(reply), {}}; }
    static ScriptResult error(const QString &description) { return ScriptResult{std::nullopt, description}; }
    bool succeeded() const { return reply.has_value(); }
};

// One script, created from its source text.
class Script
{
public:
    virtual ~Script() = default;
    // Runs synchronously on the calling thread until the target answers.
    virtual ScriptResult run() = 0;
};

// Scripts that drive other applications and the system: player state and
// transport, input volume, system actions. Callers send fixed script texts;
// how each is carried out is the runner's business.
//
// Thread-safe: scripts may be created and run on any thread.
class ScriptRunner
{
public:
    virtual ~ScriptRunner() = default;
    // May yield nothing; callers then treat the call as having no reply.
    virtual std::unique_ptr<Script> createScript(const QString &source) = 0;

    // Creates and runs in one step; a script that cannot be created is an error.
    ScriptResult runScript(const QString &source)
    {
        auto script = createScript(source);
        if (!script)
            return ScriptResult::error(QStringLiteral("the script could not be created"));
        return script->run();
    }
};

} // namespace talvo
