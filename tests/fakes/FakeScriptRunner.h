#pragma once

#include "platform/ScriptRunner.h"

#include <QHash>
#include <QStringList>

#include <functional>

namespace talvo {

// Answers scripts from a table of handlers keyed by the exact text, or by a
// prefix with handlePrefix(); records every text it runs. Unknown texts fail.
class FakeScriptRunner final : public ScriptRunner
{
public:
    using Handler = std::function<ScriptResult(const QString &source)>;

    void handle(const QString &source, Handler handler) { m_exact.insert(source, std::move(handler)); }
    void handlePrefix(const QString &prefix, Handler handler) { m_prefixes.append({prefix, std::move(handler)}); }
    void failCreation(bool fail) { m_failCreation = fail; }

    QStringList ran() const { return m_ran; }
    void clearRan() { m_ran.clear(); }

    std::unique_ptr<Script> createScript(const QString &source) override
    {
        if (m_failCreation)
            return nullptr;
        return std::make_unique<FakeScript>(*this, source);
    }

private:
    class FakeScript final : public Script
    {
    public:
        FakeScript(FakeScriptRunner &runner, QString source) : m_runner(runner), m_source(std::move(source)) {}
        ScriptResult run() override { return m_runner.answer(m_source); }

    private:
        FakeScriptRunner &m_runner;
        QString m_source;
    };

    ScriptResult answer(const QString &source)
    {
        m_ran.append(source);
        if (auto it = m_exact.constFind(source); it != m_exact.constEnd())
            return (*it)(source);
        for (const auto &[prefix, handler] : std::as_const(m_prefixes)) {
            if (source.startsWith(prefix))
                return handler(source);
        }
        return ScriptResult::error(QStringLiteral("no handler for ") + source.section(QLatin1Char('\n'), 0, 0));
    }

    QHash<QString, Handler> m_exact;
    QList<std::pair<QString, Handler>> m_prefixes;
    bool m_failCreation = false;
    QStringList m_ran;
};

} // namespace talvo
