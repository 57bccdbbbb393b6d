#include "PreferenceValue.h"

#include "PreferenceKeys.h"
#include "Preferences.h"
#include "platform/QmlInstances.h"

#include <QQmlEngine>

namespace talvo {

PreferenceValue::PreferenceValue(QObject *parent) : QObject(parent) {}

void PreferenceValue::setPreferences(Preferences *preferences)
{
    if (m_preferences == preferences)
        return;
    if (m_preferences)
        disconnect(m_preferences, nullptr, this, nullptr);
    m_preferences = preferences;
    if (m_preferences) {
        connect(m_preferences, &Preferences::keyChanged, this, [this](const QString &changedKey) {
            if (changedKey == m_key)
                emit valueChanged();
        });
    }
    emit valueChanged();
}

void PreferenceValue::componentComplete()
{
    if (!m_preferences)
        setPreferences(providedInstance<Preferences>(qmlEngine(this)));
}

void PreferenceValue::setKey(const QString &key)
{
    if (m_key == key)
        return;
    m_key = key;
    emit keyChanged();
    if (!m_defaultValue.isValid())
        emit defaultValueChanged();
    emit valueChanged();
}

QVariant PreferenceValue::defaultValue() const
{
    if (m_defaultValue.isValid())
        return m_defaultValue;
    const PreferenceKeyInfo *info = preferenceKeyInfo(m_key);
    return info ? info->defaultValue : QVariant();
}

void PreferenceValue::setDefaultValue(const QVariant &value)
{
    if (m_defaultValue == value)
        return;
    m_defaultValue = value;
    emit defaultValueChanged();
    emit valueChanged();
}

QVariant PreferenceValue::value() const
{
    const QVariant fallback = defaultValue();
    if (!m_preferences || m_key.isEmpty())
        return fallback;
    const QVariant stored = m_preferences->objectForKey(m_key);
    if (!stored.isValid())
        return fallback;
    // Without a default to compare with, any stored value is taken.
    if (!fallback.isValid())
        return stored;
    const int wanted = fallback.typeId();
    if (stored.typeId() == wanted)
        return stored;
    // QML hands lists over as QVariantList; a list of text still matches.
    if (wanted == QMetaType::QVariantList && stored.typeId() == QMetaType::QStringList)
        return stored;
    return fallback;
}

void PreferenceValue::setValue(const QVariant &value)
{
    if (!m_preferences || m_key.isEmpty())
        return;
    QVariant toStore = value;
    if (value.typeId() == QMetaType::QVariantList)
        toStore = value.toStringList();
    m_preferences->setObject(toStore, m_key);
}

} // namespace talvo
