#pragma once

#include "ItemType.h"
#include "ShelfImage.h"

#include <QUrl>
#include <QUuid>

#include <optional>

namespace talvo {

class ContentTypes;

// One entry of the shelf. Created by the notch view model, which keeps the
// invariants: a File item has `url` (and normally `image`), a Text item only
// `text`, an Image item only `image`. Items are never merged; lists of items
// are keyed by `id`.
struct ShelfItem
{
    QUuid id;
    QUrl url;                    // empty when absent
    std::optional<QString> text; // an empty text is still a text
    ShelfImage image;            // null when absent
    ItemType type = ItemType::File;

    // A fresh random id for each item.
    static ShelfItem makeFile(const QUrl &url, const ShelfImage &image = {});
    static ShelfItem makeText(const QString &text);
    static ShelfItem makeImage(const QImage &image);

    // The picture that stands for the item. Computed each time (never stored)
    // because a folder's picture depends on whether it still exists.
    ShelfImage displayIcon(const ContentTypes &contentTypes) const;
    // The caption under the item's picture.
    QString displayTitle() const;
    // One line for tools and logs: "file:<path>", "text:<text>" or
    // "image:<width>x<height>".
    QString summary() const;

    static constexpr int kTitleTextLength = 20; // user-perceived characters
};

// The file or folder name at the end of the URL's path, trailing slashes
// ignored.
QString lastPathComponent(const QUrl &url);

// The extension used to look up a file's content type: the text after the last
// dot of the name, lower-cased; empty for "README", "archive." and ".profile".
QString lowerCaseExtension(const QString &fileName);

// The first `count` user-perceived characters of `text`, so that an emoji,
// a flag or a letter with combining accents is never cut in half.
QString leadingGraphemes(const QString &text, int count);

} // namespace talvo
