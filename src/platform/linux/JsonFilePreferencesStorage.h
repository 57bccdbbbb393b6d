#pragma once

#include "platform/PreferencesStorage.h"

#include <QFileSystemWatcher>
#include <QTimer>

#include <optional>

namespace talvo {

// Preferences in one JSON file, by default $XDG_CONFIG_HOME/talvo/preferences.json.
// Writes go through QSaveFile, so a reader never sees half a file. A file that
// does not parse is renamed to "<name>.corrupt-<timestamp>" rather than
// overwritten. Changes made by other processes are noticed through a watch on
// the file and its folder (an atomic replace swaps the inode, so the folder is
// watched too) and reported once per real change of content.
class JsonFilePreferencesStorage final : public PreferencesStorage
{
    Q_OBJECT
public:
    explicit JsonFilePreferencesStorage(const QString &filePath, QObject *parent = nullptr);

    static QString defaultFilePath();

    QString filePath() const { return m_filePath; }

    // The stored values in a file's content; nothing (and `reason` set) when
    // it is not a JSON object.
    static std::optional<QJsonObject> parse(const QByteArray &content, QString *reason);

    QJsonObject load() override;
    bool save(const QJsonObject &values) override;

private:
    void watch();
    void checkForOutsideChange();
    QJsonObject readFile(bool *ok);

    QString m_filePath;
    QJsonObject m_lastKnown;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace talvo
