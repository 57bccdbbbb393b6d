#pragma once

#include "platform/ApplicationCatalog.h"

namespace talvo {

class FakeApplicationCatalog final : public ApplicationCatalog
{
public:
    QStringList defaultFavoriteApps() const override { return defaults; }

    QStringList defaults{QStringLiteral("/usr/share/applications/firefox-esr.desktop"),
                         QStringLiteral("/usr/share/applications/org.gnome.Settings.desktop")};
};

} // namespace talvo
