#include "ScriptBridge.h"

namespace talvo {

namespace {
class BridgeScript final : public Script
{
public:
    BridgeScript(ScriptBridge &bridge, QString source) : m_bridge(bridge), m_source(std::move(source)) {}
    ScriptResult run() override { return m_bridge.execute(m_source); }

private:
    ScriptBridge &m_bridge;
    QString m_source;
};
} // namespace

ScriptBridge::ScriptBridge() = default;
ScriptBridge::~ScriptBridge() = default;

void ScriptBridge::addHandler(std::unique_ptr<Handler> handler)
{
    QMutexLocker lock(&m_mutex);
    m_handlers.append(std::shared_ptr<Handler>(std::move(handler)));
}

std::unique_ptr<Script> ScriptBridge::createScript(const QString &source)
{
    if (source.trimmed().isEmpty())
        return nullptr;
    return std::make_unique<BridgeScript>(*this, source);
}

ScriptResult ScriptBridge::execute(const QString &source)
{
    QList<std::shared_ptr<Handler>> handlers;
    {
        QMutexLocker lock(&m_mutex);
        handlers = m_handlers;
    }
    for (const auto &handler : std::as_const(handlers)) {
        if (auto result = handler->tryRun(source))
            return *result;
    }
    const QString firstLine = source.section(QLatin1Char('\n'), 0, 0).trimmed();
    return ScriptResult::error(QStringLiteral("Unsupported script: \"%1\"").arg(firstLine));
}

} // namespace talvo
