#pragma once

#include <QJsonObject>
#include <QObject>

namespace talvo {

// Where the preferences live between runs. Values are kept as JSON: Booleans,
// strings, arrays of strings, and raw data as {"$data": "<base64>"}; anything
// else is kept as it is and read by the preferences as an ill-typed value.
//
// Main thread only.
class PreferencesStorage : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The stored values. A store that cannot be read yields an empty object
    // (after keeping the unreadable content aside and logging one line).
    virtual QJsonObject load() = 0;
    // Replaces the stored values atomically. On failure the previous content is
    // left as it was, one line is logged and false is returned.
    virtual bool save(const QJsonObject &values) = 0;

signals:
    // Another process (or a user's editor) changed the stored values.
    void changedExternally();
};

} // namespace talvo
