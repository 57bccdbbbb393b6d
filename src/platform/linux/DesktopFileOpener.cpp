#include "DesktopFileOpener.h"

#include <QDesktopServices>

namespace talvo {

bool DesktopFileOpener::open(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

} // namespace talvo
