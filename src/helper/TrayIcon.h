#pragma once

#include <QObject>
#include <QSystemTrayIcon>

namespace talvo {

// A system-tray icon without a menu (StatusNotifierItem where the panel hosts
// them, the XEmbed tray otherwise), showing a symbol by its name. A click
// emits activated(). Needs a QApplication.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    TrayIcon(const QString &symbolName, const QString &toolTip, QObject *parent = nullptr);

signals:
    void activated();

private:
    QSystemTrayIcon m_icon;
};

} // namespace talvo
