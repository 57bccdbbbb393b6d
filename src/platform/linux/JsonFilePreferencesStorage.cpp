#include "JsonFilePreferencesStorage.h"

#include "AtomicFile.h"
#include "platform/Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QStandardPaths>

namespace talvo {

JsonFilePreferencesStorage::JsonFilePreferencesStorage(const QString &filePath, QObject *parent)
    : PreferencesStorage(parent), m_filePath(QFileInfo(filePath).absoluteFilePath())
{
    // Editors and atomic writers produce bursts of events; read once they settle.
    m_settle.setSingleShot(true);
    m_settle.setInterval(50);
    connect(&m_settle, &QTimer::timeout, this, &JsonFilePreferencesStorage::checkForOutsideChange);
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, qOverload<>(&QTimer::start));
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, qOverload<>(&QTimer::start));
}

QString JsonFilePreferencesStorage::defaultFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/talvo/preferences.json");
}

QJsonObject JsonFilePreferencesStorage::readFile(bool *ok)
{
    *ok = true;
    QFile file(m_filePath);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly)) {
        *ok = false;
        qCWarning(lcPreferences).noquote() << QStringLiteral("Cannot read %1: ").arg(m_filePath) + file.errorString();
        return {};
    }
    QString reason;
    const std::optional<QJsonObject> values = parse(file.readAll(), &reason);
    if (!values) {
        *ok = false;
        const QString aside = m_filePath + QStringLiteral(".corrupt-")
                              + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
        file.close();
        if (QFile::rename(m_filePath, aside))
            qCWarning(lcPreferences).noquote()
                << QStringLiteral("Unreadable preferences (%1) kept as %2; using defaults").arg(reason, aside);
        else
            qCWarning(lcPreferences).noquote()
                << QStringLiteral("Unreadable preferences (%1) in %2; using defaults").arg(reason, m_filePath);
        return {};
    }
    return *values;
}

std::optional<QJsonObject> JsonFilePreferencesStorage::parse(const QByteArray &content, QString *reason)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(content, &error);
    if (error.error != QJsonParseError::NoError) {
        *reason = error.errorString();
        return std::nullopt;
    }
    if (!document.isObject()) {
        *reason = QStringLiteral("the top level is not an object");
        return std::nullopt;
    }
    return document.object();
}

QJsonObject JsonFilePreferencesStorage::load()
{
    bool ok = false;
    m_lastKnown = readFile(&ok);
    watch();
    return m_lastKnown;
}

bool JsonFilePreferencesStorage::save(const QJsonObject &values)
{
    if (const auto error = write(values)) {
        // One line per run of failures: the values stay in memory meanwhile.
        if (!m_unsaved)
            qCWarning(lcPreferences).noquote() << QStringLiteral("Failed to save preferences: ") + *error;
        m_unsaved = values;
        return false;
    }
    m_unsaved.reset();
    m_lastKnown = values;
    watch();
    return true;
}

std::optional<QString> JsonFilePreferencesStorage::write(const QJsonObject &values)
{
    return writeFileAtomically(m_filePath, QJsonDocument(values).toJson(QJsonDocument::Indented));
}

void JsonFilePreferencesStorage::watch()
{
    const QString folder = QFileInfo(m_filePath).absolutePath();
    if (QFileInfo::exists(folder) && !m_watcher.directories().contains(folder))
        m_watcher.addPath(folder);
    if (QFileInfo::exists(m_filePath) && !m_watcher.files().contains(m_filePath))
        m_watcher.addPath(m_filePath);
}

void JsonFilePreferencesStorage::checkForOutsideChange()
{
    watch();
    if (!QFileInfo::exists(m_filePath)) {
        // Removed under the running program: the values in use stay and are
        // written back, so that a later edit from outside adds to them.
        const QJsonObject values = m_unsaved.value_or(m_lastKnown);
        if (values.isEmpty())
            return;
        qCWarning(lcPreferences).noquote()
            << QStringLiteral("%1 was removed; writing the values in use back").arg(m_filePath);
        m_unsaved = values;
        if (!write(values)) {
            m_unsaved.reset();
            m_lastKnown = values;
            watch();
        }
        return;
    }
    bool ok = false;
    const QJsonObject current = readFile(&ok);
    // An unreadable outside edit has been set aside; what is in memory stays.
    if (!ok)
        return;
    if (m_unsaved) {
        // The file changed or became writable again while the program's own
        // changes waited: they go over what is there now, and are written.
        QJsonObject merged = current;
        QStringList keys = m_unsaved->keys() + m_lastKnown.keys();
        keys.removeDuplicates();
        for (const QString &key : std::as_const(keys)) {
            if (m_unsaved->value(key) == m_lastKnown.value(key))
                continue;
            if (m_unsaved->contains(key))
                merged.insert(key, m_unsaved->value(key));
            else
                merged.remove(key);
        }
        if (write(merged))
            return;
        const bool others = merged != *m_unsaved;
        m_unsaved.reset();
        m_lastKnown = merged;
        watch();
        if (others)
            emit changedExternally();
        return;
    }
    if (current == m_lastKnown)
        return;
    m_lastKnown = current;
    emit changedExternally();
}

} // namespace talvo
