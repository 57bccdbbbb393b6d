#pragma once

#include "platform/Clipboard.h"

#include <QObject>

class QClipboard;

namespace talvo {

// The general clipboard: the desktop's CLIPBOARD selection (not the
// primary selection, which changes with every mouse selection). Qt reports
// every change of owner or content, ours at once and other programs' through
// XFixes, so counting those reports gives a change count that costs nothing
// to poll.
class QtClipboard final : public QObject, public Clipboard
{
    Q_OBJECT
public:
    // The application's clipboard unless another is given.
    explicit QtClipboard(QClipboard *clipboard = nullptr, QObject *parent = nullptr);

    qint64 changeCount() const override { return m_changeCount; }
    QImage image() const override;
    std::optional<QString> string() const override;
    // The mark the desktop's password managers set: x-kde-passwordManagerHint = "secret".
    bool isConcealed() const override;
    void setString(const QString &text) override;
    void setImage(const QImage &image) override;

private:
    QClipboard *m_clipboard;
    qint64 m_changeCount = 0;
};

} // namespace talvo
