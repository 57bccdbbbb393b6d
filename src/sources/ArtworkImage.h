#pragma once

#include <QByteArray>
#include <QImage>

namespace talvo {

// Decodes artwork that came from another program or the network. Pictures
// declaring more than kMaxDeclaredSide pixels on a side are refused before
// any pixel is decoded; the rest are decoded at most kMaxSide on a side
// (aspect kept), which is plenty for a 72-point card on a dense screen.
struct ArtworkImage
{
    static constexpr int kMaxDeclaredSide = 8192;
    static constexpr int kMaxSide = 1024;

    // A null image when the bytes are not a picture or are refused.
    static QImage decode(const QByteArray &bytes);
};

} // namespace talvo
