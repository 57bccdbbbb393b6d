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
//
// Values that could not be written (a read-only file or folder, a full disk)
// stay in memory, with one log line for the run of failures; they are written
// as soon as the file changes or becomes writable again, over whatever another
// process stored meanwhile. A file removed while the program runs is written
// back with the values in use.
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
    std::optional<QString> write(const QJsonObject &values);

    QString m_filePath;
    QJsonObject m_lastKnown;
    // What the program holds but could not write yet.
    std::optional<QJsonObject> m_unsaved;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace talvo
