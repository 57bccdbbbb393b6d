// The preferences file, which users and other programs may edit while Talvo
// runs, read the way the program and `talvo prefs` read it.

#include "FuzzSupport.h"
#include "fakes/MemoryPreferencesStorage.h"
#include "app/PrefsCommand.h"
#include "platform/linux/JsonFilePreferencesStorage.h"
#include "preferences/Preferences.h"

#include <QTextStream>

using namespace talvo;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QString reason;
    const auto values = JsonFilePreferencesStorage::parse(fuzz::bytes(data, size), &reason);
    if (!values) {
        FUZZ_CHECK(!reason.isEmpty());
        return 0;
    }
    MemoryPreferencesStorage storage(*values);
    Preferences preferences(storage);

    QString printed;
    QTextStream out(&printed);
    QTextStream err(&printed);
    FUZZ_CHECK(runPrefsCommand({QStringLiteral("list")}, preferences, out, err) == 0);
    QStringList keys = preferences.keys();
    for (const PreferenceKeyInfo &info : allPreferenceKeys())
        keys.append(info.name);
    for (const QString &key : std::as_const(keys)) {
        const int code = runPrefsCommand({QStringLiteral("get"), key}, preferences, out, err);
        FUZZ_CHECK(code == 0 || code == 1);
        // What the program reads back after writing a value it read must be
        // that value again.
        const QVariant value = preferences.objectForKey(key);
        const int type = value.typeId();
        if (type == QMetaType::Bool || type == QMetaType::QString || type == QMetaType::QStringList
            || type == QMetaType::QByteArray) {
            FUZZ_CHECK(Preferences::fromJson(Preferences::toJson(value)) == value);
        }
    }
    return 0;
}
