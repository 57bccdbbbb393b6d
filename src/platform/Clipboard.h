#pragma once

#include <QImage>
#include <QString>

#include <optional>

namespace talvo {

// The desktop's general clipboard.
//
// changeCount() grows by at least one whenever the content changes, whoever
// changed it (this process included). Reading it is free, so a caller may poll
// it often and read the content only when the number moved.
//
// Main thread only. Reading the content may wait for the program that owns it.
class Clipboard
{
public:
    virtual ~Clipboard() = default;

    virtual qint64 changeCount() const = 0;
    // The first image on the clipboard; a null image when it holds none.
    virtual QImage image() const = 0;
    // The clipboard's plain text; nothing when it holds no text.
    virtual std::optional<QString> string() const = 0;
    // The program that copied marked the content as a secret (password
    // managers do), so it must not be kept anywhere.
    virtual bool isConcealed() const = 0;

    // Replace the whole content. The change count has moved by the time these
    // return, and it does not move again for this write later on, so a caller
    // may note the count right after writing.
    virtual void setString(const QString &text) = 0;
    virtual void setImage(const QImage &image) = 0;
};

} // namespace talvo
