// Files Talvo reads in the desktop's own formats: desktop entries (names,
// icons, autostart state) and the MIME application lists.

#include "FuzzSupport.h"
#include "platform/linux/DesktopApplicationCatalog.h"
#include "platform/linux/DesktopEntryIcon.h"
#include "platform/linux/XdgAutostartLoginItem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

using namespace talvo;

namespace {
std::unique_ptr<QTemporaryDir> folder;
}

void talvo::fuzz::setUp()
{
    // Localised names are looked up for this locale.
    setenv("LC_ALL", "de_DE.UTF-8", 1);
    setenv("LANG", "de_DE.UTF-8", 1);
    folder = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/talvo-fuzz-XXXXXX"));
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = folder->filePath(QStringLiteral("entry.desktop"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(fuzz::bytes(data, size));
    }
    const QHash<QString, QString> entry = DesktopEntry::read(path);
    for (auto it = entry.cbegin(); it != entry.cend(); ++it)
        FUZZ_CHECK(!it.key().isEmpty() && !it.key().contains(u'\n') && !it.value().contains(u'\n'));

    const DesktopApplicationCatalog catalog([] { return QString(); });
    FUZZ_CHECK(!catalog.displayName(path).isEmpty());
    DesktopEntryIcon::iconName(path);
    for (const char *section : {"Default Applications", "Added Associations", "MIME Cache"}) {
        const QStringList handlers = DesktopApplicationCatalog::handlers(path, QString::fromLatin1(section),
                                                                         QStringLiteral("x-scheme-handler/http"));
        for (const QString &handler : handlers)
            FUZZ_CHECK(!handler.isEmpty() && !handler.contains(u';'));
    }
    return 0;
}
