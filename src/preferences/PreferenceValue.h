#pragma once

#include <QObject>
#include <QPointer>
#include <QQmlParserStatus>
#include <QVariant>
#include <QtQml/qqmlregistration.h>

namespace talvo {

class Preferences;

// A view's binding to one preference:
//     PreferenceValue { id: glass; key: "enableGlassUI" }
// `value` is the stored value when it has the default's type, else the default.
// The default is the key table's (PreferenceKeys.h) unless `defaultValue` is
// given, which a key without a fixed default needs to have its type checked.
// Assigning `value` writes the key at once; every binding to the key follows.
class PreferenceValue : public QObject, public QQmlParserStatus
{
    Q_OBJECT
    Q_INTERFACES(QQmlParserStatus)
    QML_ELEMENT
    Q_PROPERTY(QString key READ key WRITE setKey NOTIFY keyChanged)
    Q_PROPERTY(QVariant defaultValue READ defaultValue WRITE setDefaultValue NOTIFY defaultValueChanged)
    Q_PROPERTY(QVariant value READ value WRITE setValue NOTIFY valueChanged)
public:
    explicit PreferenceValue(QObject *parent = nullptr);

    // For use from C++; QML finds the application's preferences by itself.
    void setPreferences(Preferences *preferences);

    QString key() const { return m_key; }
    void setKey(const QString &key);
    // The given default, else the key table's (invalid for a key without one).
    QVariant defaultValue() const;
    void setDefaultValue(const QVariant &value);
    QVariant value() const;
    void setValue(const QVariant &value);

    void classBegin() override {}
    void componentComplete() override;

signals:
    void keyChanged();
    void defaultValueChanged();
    void valueChanged();

private:
    QPointer<Preferences> m_preferences;
    QString m_key;
    QVariant m_defaultValue;
};

} // namespace talvo
