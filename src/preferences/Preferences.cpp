#include "Preferences.h"

#include "platform/PreferencesStorage.h"
#include "platform/QmlInstances.h"

#include <QJsonArray>

namespace talvo {

static const QString kDataTag = QStringLiteral("$data");

Preferences::Preferences(PreferencesStorage &storage, QObject *parent)
    : QObject(parent), m_storage(storage), m_values(storage.load())
{
    connect(&m_storage, &PreferencesStorage::changedExternally, this, &Preferences::reloadFromStorage);
}

Preferences *Preferences::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<Preferences>(qmlEngine);
}

bool Preferences::boolForKey(const QString &key, bool defaultValue) const
{
    const QJsonValue v = m_values.value(key);
    return v.isBool() ? v.toBool() : defaultValue;
}

QString Preferences::stringForKey(const QString &key, const QString &defaultValue) const
{
    const QJsonValue v = m_values.value(key);
    return v.isString() ? v.toString() : defaultValue;
}

std::optional<QStringList> Preferences::stringArrayForKey(const QString &key) const
{
    const QJsonValue v = m_values.value(key);
    if (!v.isArray())
        return std::nullopt;
    QStringList list;
    for (const QJsonValue &element : v.toArray()) {
        if (!element.isString())
            return std::nullopt;
        list.append(element.toString());
    }
    return list;
}

std::optional<QByteArray> Preferences::dataForKey(const QString &key) const
{
    const QVariant v = fromJson(m_values.value(key));
    if (v.typeId() != QMetaType::QByteArray)
        return std::nullopt;
    return v.toByteArray();
}

QVariant Preferences::objectForKey(const QString &key) const
{
    return fromJson(m_values.value(key));
}

bool Preferences::contains(const QString &key) const
{
    return m_values.contains(key);
}

QStringList Preferences::keys() const
{
    return m_values.keys();
}

bool Preferences::setBool(bool value, const QString &key)
{
    return write(key, QJsonValue(value));
}

bool Preferences::setObject(const QVariant &value, const QString &key)
{
    if (!value.isValid())
        return removeObjectForKey(key);
    return write(key, toJson(value));
}

bool Preferences::removeObjectForKey(const QString &key)
{
    return write(key, QJsonValue(QJsonValue::Undefined));
}

QJsonValue Preferences::toJson(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool();
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        return QJsonArray::fromStringList(value.toStringList());
    case QMetaType::QByteArray:
        return QJsonObject{{kDataTag, QString::fromLatin1(value.toByteArray().toBase64())}};
    default:
        return QJsonValue::fromVariant(value);
    }
}

QVariant Preferences::fromJson(const QJsonValue &value)
{
    if (value.isObject()) {
        const QJsonObject object = value.toObject();
        if (object.size() == 1 && object.value(kDataTag).isString())
            return QByteArray::fromBase64(object.value(kDataTag).toString().toLatin1());
    }
    if (value.isArray()) {
        const QJsonArray array = value.toArray();
        const bool allText = std::all_of(array.begin(), array.end(), [](const QJsonValue &e) { return e.isString(); });
        if (allText) {
            QStringList list;
            for (const QJsonValue &e : array)
                list.append(e.toString());
            return list;
        }
    }
    if (value.isUndefined())
        return {};
    return value.toVariant();
}

bool Preferences::write(const QString &key, const QJsonValue &value)
{
    const QJsonValue previous = m_values.value(key);
    if (value.isUndefined())
        m_values.remove(key);
    else
        m_values.insert(key, value);
    const bool stored = m_storage.save(m_values);
    if (previous != m_values.value(key))
        emit keyChanged(key);
    emit changed();
    return stored;
}

void Preferences::reloadFromStorage()
{
    const QJsonObject previous = m_values;
    m_values = m_storage.load();
    if (previous == m_values)
        return;
    QStringList keys = previous.keys() + m_values.keys();
    keys.removeDuplicates();
    for (const QString &key : std::as_const(keys)) {
        if (previous.value(key) != m_values.value(key))
            emit keyChanged(key);
    }
    emit changed();
}

} // namespace talvo
