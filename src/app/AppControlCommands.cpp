#include "AppControlCommands.h"

#include "notch/NotchViewModel.h"
#include "notch/NotchWindowController.h"
#include "shelf/ShelfItem.h"

#include <QFileInfo>
#include <QUrl>

namespace talvo {

AppControlCommands::AppControlCommands(NotchWindowController &controller,
                                       std::function<void(const QString &)> showSettings, std::function<void()> quit)
    : m_controller(controller), m_viewModel(controller.viewModel()), m_showSettings(std::move(showSettings)),
      m_quit(std::move(quit))
{
}

QStringList AppControlCommands::settingsPages()
{
    return {QStringLiteral("home"), QStringLiteral("general"), QStringLiteral("widgets"), QStringLiteral("about")};
}

PlatformResult<> AppControlCommands::open(const QString &tab)
{
    const std::optional<NotchPanelTab> found = notchPanelTabFromRawValue(tab);
    if (!found)
        return PlatformResult<>::failure(
            QStringLiteral("No tab \"%1\"; the tabs are home, tray and shortcuts").arg(tab));
    m_controller.openOnRequest(*found);
    return PlatformResult<>::success();
}

PlatformResult<> AppControlCommands::collapse()
{
    if (!m_controller.collapse())
        return PlatformResult<>::failure(QStringLiteral("The notch is held open by a form or the first-run flow"));
    return PlatformResult<>::success();
}

PlatformResult<> AppControlCommands::addPaths(const QStringList &paths)
{
    if (paths.isEmpty())
        return PlatformResult<>::failure(QStringLiteral("No paths given"));
    // All or nothing: every path is checked before the first is added.
    QStringList refused;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (!info.isAbsolute())
            refused.append(QStringLiteral("%1 (not an absolute path)").arg(path));
        else if (!info.exists())
            refused.append(QStringLiteral("%1 (no such file or folder)").arg(path));
        else if (!info.isReadable() || (info.isDir() && !info.isExecutable()))
            refused.append(QStringLiteral("%1 (not readable)").arg(path));
    }
    if (!refused.isEmpty())
        return PlatformResult<>::failure(QStringLiteral("Nothing added: ") + refused.join(QStringLiteral(", ")));
    for (const QString &path : paths)
        m_viewModel.addItem(ShelfItem::makeFile(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath())));
    return PlatformResult<>::success();
}

PlatformResult<> AppControlCommands::addText(const QString &text)
{
    if (text.trimmed().isEmpty())
        return PlatformResult<>::failure(QStringLiteral("The text is empty"));
    m_viewModel.addItem(ShelfItem::makeText(text));
    return PlatformResult<>::success();
}

PlatformResult<> AppControlCommands::showSettings(const QString &page)
{
    if (page.isEmpty()) {
        m_showSettings(QString());
        return PlatformResult<>::success();
    }
    const QString name = page.toLower();
    if (!settingsPages().contains(name))
        return PlatformResult<>::failure(QStringLiteral("No settings page \"%1\"; the pages are %2")
                                             .arg(page, settingsPages().join(QStringLiteral(", "))));
    // The settings window names its pages as its sidebar shows them.
    m_showSettings(name.left(1).toUpper() + name.mid(1));
    return PlatformResult<>::success();
}

PlatformResult<> AppControlCommands::quit()
{
    m_quit();
    return PlatformResult<>::success();
}

} // namespace talvo
