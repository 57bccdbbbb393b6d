#pragma once

#include "platform/SystemActions.h"

#include <QHash>
#include <QStringList>

namespace talvo {

// Records the actions asked for by name ("lockScreen", "suspend",
// "toggleDarkMode", "emptyTrash"); an action given an error with fail()
// reports it.
class FakeSystemActions final : public SystemActions
{
public:
    void fail(const QString &action, const QString &error) { m_errors.insert(action, error); }
    QStringList performed() const { return m_performed; }

    PlatformResult<> lockScreen() override { return perform(QStringLiteral("lockScreen")); }
    PlatformResult<> suspend() override { return perform(QStringLiteral("suspend")); }
    PlatformResult<> toggleDarkMode() override { return perform(QStringLiteral("toggleDarkMode")); }
    PlatformResult<> emptyTrash() override { return perform(QStringLiteral("emptyTrash")); }

private:
    PlatformResult<> perform(const QString &action)
    {
        m_performed.append(action);
        const QString error = m_errors.value(action);
        return error.isEmpty() ? PlatformResult<>::success() : PlatformResult<>::failure(error);
    }

    QHash<QString, QString> m_errors;
    QStringList m_performed;
};

} // namespace talvo
