#pragma once

#include "PreferenceKeys.h"

#include <QJsonObject>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include <optional>

class QQmlEngine;
class QJSEngine;

namespace talvo {

class PreferencesStorage;

// The user's preferences: one value per key, typed Boolean, text, list of text
// or raw data. A missing or ill-typed value reads as the default the reader
// supplies. Every write is stored at once and announced by changed(); so is a
// change of the stored values made by another process.
//
// Main thread only.
class Preferences : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    explicit Preferences(PreferencesStorage &storage, QObject *parent = nullptr);

    // QML gets the instance the application built (see QmlInstances.h).
    static Preferences *create(QQmlEngine *qmlEngine, QJSEngine *jsEngine);

    bool boolForKey(const QString &key, bool defaultValue = false) const;
    QString stringForKey(const QString &key, const QString &defaultValue = {}) const;
    // Nothing unless the stored value is a list whose every element is text.
    std::optional<QStringList> stringArrayForKey(const QString &key) const;
    std::optional<QByteArray> dataForKey(const QString &key) const;
    // The stored value as it is (bool, QString, QStringList, QByteArray, or
    // whatever else the store holds); invalid when the key is absent.
    QVariant objectForKey(const QString &key) const;
    bool contains(const QString &key) const;
    QStringList keys() const;

    // Convenience readers that take the key together with its default.
    bool value(const BoolKey &key) const { return boolForKey(QString::fromLatin1(key.name), key.defaultValue); }
    QString value(const TextKey &key) const
    {
        return stringForKey(QString::fromLatin1(key.name), QString::fromUtf8(key.defaultValue));
    }
    std::optional<QStringList> value(const TextListKey &key) const { return stringArrayForKey(QString::fromLatin1(key.name)); }
    std::optional<QByteArray> value(const DataKey &key) const { return dataForKey(QString::fromLatin1(key.name)); }

    // Writers return whether the store took the change; a failure is logged
    // and the running program keeps the new value (the next save stores it).
    bool setBool(bool value, const QString &key);
    // Accepts bool, QString, QStringList and QByteArray; an invalid value
    // removes the key.
    bool setObject(const QVariant &value, const QString &key);
    bool removeObjectForKey(const QString &key);

    // JSON form of one value as stored; used by the command line.
    static QJsonValue toJson(const QVariant &value);
    static QVariant fromJson(const QJsonValue &value);

signals:
    // After every write, and after another process changed the stored values.
    void changed();
    // For each key whose stored value differs after a write or an outside change.
    void keyChanged(const QString &key);

private:
    bool write(const QString &key, const QJsonValue &value);
    void reloadFromStorage();

    PreferencesStorage &m_storage;
    QJsonObject m_values;
};

} // namespace talvo
