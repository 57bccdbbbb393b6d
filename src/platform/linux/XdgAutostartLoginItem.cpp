#include "XdgAutostartLoginItem.h"

#include "AtomicFile.h"
#include "platform/ApplicationId.h"
#include "platform/Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace talvo {

namespace {

const QString kLegacyEntryName = QStringLiteral("talvo.desktop");

QString entryName()
{
    return QLatin1String(kApplicationId) + QStringLiteral(".desktop");
}

bool isTalvoEntry(const QString &path)
{
    return DesktopEntry::read(path).value(QStringLiteral("Name")) == u"Talvo";
}

bool isTurnedOff(const QHash<QString, QString> &entry)
{
    return entry.value(QStringLiteral("Hidden")).compare(u"true", Qt::CaseInsensitive) == 0
        || entry.value(QStringLiteral("X-GNOME-Autostart-enabled")).compare(u"false", Qt::CaseInsensitive) == 0;
}

} // namespace

namespace DesktopEntry {

QHash<QString, QString> read(const QString &path)
{
    QHash<QString, QString> values;
    // Paths come from the preferences and from folders other programs fill:
    // a device or a pipe would never end (or never start).
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    const QByteArray content = file.read(kMaxEntryBytes);
    if (!file.atEnd())
        qCWarning(lcDesktop).noquote()
            << QStringLiteral("%1 is longer than a desktop entry can be; only its start is read").arg(path);
    bool inMainGroup = false;
    for (const QByteArray &rawLine : content.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            inMainGroup = line == u"[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (inMainGroup && equals > 0)
            values.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return values;
}

static QString quotedExec(const QString &executable)
{
    // The Exec key's quoting rules: quote when needed, escape " ` $ and \.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool needsQuotes = std::any_of(executable.begin(), executable.end(),
                                         [](QChar c) { return reserved.contains(c); });
    if (!needsQuotes)
        return executable;
    QString escaped;
    for (QChar c : executable) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            escaped += QLatin1Char('\\');
        escaped += c;
    }
    // Backslashes are escaped once more by the string rules of the format.
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QByteArray talvoEntry(const QString &executable, bool autostart)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Talvo\n"
                                  "Comment=A shelf and widget panel at the top of the screen\n"
                                  "Exec=%1\n"
                                  "Icon=%2\n"
                                  "Categories=Utility;\n"
                                  "StartupNotify=false\n")
                       .arg(quotedExec(executable), QLatin1String(kApplicationId));
    if (autostart)
        text += QStringLiteral("X-GNOME-Autostart-enabled=true\n");
    return text.toUtf8();
}

void installLauncher(const QString &dataHome, const QString &executable)
{
    const QString legacyPath = dataHome + QStringLiteral("/applications/") + kLegacyEntryName;
    if (QFileInfo::exists(legacyPath) && isTalvoEntry(legacyPath))
        QFile::remove(legacyPath);
    const QString entryPath = dataHome + QStringLiteral("/applications/") + entryName();
    const QByteArray entry = talvoEntry(executable, false);
    QFile existing(entryPath);
    if (!existing.open(QIODevice::ReadOnly) || existing.readAll() != entry) {
        if (const auto error = writeFileAtomically(entryPath, entry))
            qCWarning(lcDesktop).noquote() << QStringLiteral("Cannot install the launcher entry: ") + *error;
    }
    const QString iconPath =
        dataHome + QStringLiteral("/icons/hicolor/scalable/apps/%1.svg").arg(QLatin1String(kApplicationId));
    if (!QFileInfo::exists(iconPath)) {
        QFile icon(QStringLiteral(":/talvo/com.talvo.Talvo.svg"));
        if (icon.open(QIODevice::ReadOnly)) {
            if (const auto error = writeFileAtomically(iconPath, icon.readAll()))
                qCWarning(lcDesktop).noquote() << QStringLiteral("Cannot install the icon: ") + *error;
        }
    }
}

} // namespace DesktopEntry

XdgAutostartLoginItem::XdgAutostartLoginItem(QString autostartFolder, QString executable)
    : m_folder(std::move(autostartFolder)), m_executable(std::move(executable))
{
}

QString XdgAutostartLoginItem::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart");
}

QString XdgAutostartLoginItem::entryPath() const
{
    return m_folder + QLatin1Char('/') + entryName();
}

std::optional<QString> XdgAutostartLoginItem::migrateLegacyEntry()
{
    const QString legacyPath = m_folder + QLatin1Char('/') + kLegacyEntryName;
    if (!QFileInfo::exists(legacyPath) || !isTalvoEntry(legacyPath))
        return std::nullopt;
    if (!QFileInfo::exists(entryPath()) && !isTurnedOff(DesktopEntry::read(legacyPath))) {
        if (const auto error = registerItem())
            return error;
    }
    if (!QFile::remove(legacyPath))
        return QStringLiteral("cannot remove %1").arg(legacyPath);
    return std::nullopt;
}

LoginItemService::Status XdgAutostartLoginItem::status() const
{
    if (!QFileInfo::exists(entryPath()))
        return Status::NotRegistered;
    if (isTurnedOff(DesktopEntry::read(entryPath())))
        return Status::NotRegistered;
    return Status::Enabled;
}

std::optional<QString> XdgAutostartLoginItem::registerItem()
{
    return writeFileAtomically(entryPath(), DesktopEntry::talvoEntry(m_executable, true));
}

std::optional<QString> XdgAutostartLoginItem::unregisterItem()
{
    if (QFileInfo::exists(entryPath()) && !QFile::remove(entryPath()))
        return QStringLiteral("cannot remove %1").arg(entryPath());
    return std::nullopt;
}

} // namespace talvo
