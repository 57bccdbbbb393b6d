#include "PreferenceKeys.h"

namespace talvo {

const QList<PreferenceKeyInfo> &allPreferenceKeys()
{
    static const QList<PreferenceKeyInfo> keys = [] {
        QList<PreferenceKeyInfo> list;
        auto addBool = [&](const BoolKey &k) {
            list.append({QString::fromLatin1(k.name), PreferenceType::Bool, QVariant(k.defaultValue)});
        };
        auto addText = [&](const TextKey &k) {
            list.append({QString::fromLatin1(k.name), PreferenceType::Text, QVariant(QString::fromUtf8(k.defaultValue))});
        };
        addBool(PrefKey::hasCompletedOnboarding);
        addBool(PrefKey::didConfigureLaunchAtLoginDefault);
        addBool(PrefKey::showMicMenuBarIcon);
        addText(PrefKey::shelfStyle);
        addBool(PrefKey::hasSelectedShelfStyle);
        addText(PrefKey::targetDisplay);
        addText(PrefKey::activeWidgetsOrder);
        addBool(PrefKey::enableGlassUI);
        addBool(PrefKey::showTabLabels);
        addBool(PrefKey::enableFramelessWidgets);
        addText(PrefKey::scratchpadText);
        list.append({QString::fromLatin1(PrefKey::favoriteApps.name), PreferenceType::TextList, {}});
        list.append({QString::fromLatin1(PrefKey::recentPickedColors.name), PreferenceType::TextList, {}});
        list.append({QString::fromLatin1(PrefKey::downloadsFolderBookmark.name), PreferenceType::Data, {}});
        list.append({QString::fromLatin1(PrefKey::calendarSources.name), PreferenceType::TextList, {}});
        return list;
    }();
    return keys;
}

const PreferenceKeyInfo *preferenceKeyInfo(const QString &name)
{
    for (const auto &info : allPreferenceKeys()) {
        if (info.name == name)
            return &info;
    }
    return nullptr;
}

} // namespace talvo
