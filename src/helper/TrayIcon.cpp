#include "TrayIcon.h"

#include <QFont>
#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace talvo {

namespace {

// Theme icons that read as each symbol, best first; the icon font's glyph
// is the fallback when the theme has none.
QIcon iconForSymbol(const QString &symbolName)
{
    if (symbolName == u"mic.slash.fill") {
        for (const char *name : {"microphone-sensitivity-muted-symbolic", "microphone-disabled-symbolic",
                                 "audio-input-microphone-muted-symbolic", "audio-input-microphone-muted"}) {
            const QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
            if (!icon.isNull())
                return icon;
        }
    }
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont font(QStringLiteral("Material Icons"));
    font.setPixelSize(56);
    painter.setFont(font);
    painter.setPen(QColor(0xff, 0x45, 0x3a));
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QString(QChar(0xe02b))); // mic_off
    return QIcon(pixmap);
}

} // namespace

TrayIcon::TrayIcon(const QString &symbolName, const QString &toolTip, QObject *parent) : QObject(parent)
{
    m_icon.setIcon(iconForSymbol(symbolName));
    m_icon.setToolTip(toolTip);
    connect(&m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::DoubleClick)
            emit activated();
    });
    m_icon.show();
}

} // namespace talvo
