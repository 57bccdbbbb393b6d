#pragma once

#include "platform/PreferencesStorage.h"

namespace talvo {

// Preferences kept in memory; counts saves and can fail them or play an
// outside change.
class MemoryPreferencesStorage final : public PreferencesStorage
{
    Q_OBJECT
public:
    explicit MemoryPreferencesStorage(QJsonObject initial = {}) : m_values(std::move(initial)) {}

    QJsonObject load() override { return m_values; }
    bool save(const QJsonObject &values) override
    {
        ++saveCount;
        if (failSaves)
            return false;
        m_values = values;
        return true;
    }

    QJsonObject stored() const { return m_values; }
    void changeOutside(const QJsonObject &values)
    {
        m_values = values;
        emit changedExternally();
    }

    int saveCount = 0;
    bool failSaves = false;

private:
    QJsonObject m_values;
};

} // namespace talvo
