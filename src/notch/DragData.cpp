#include "DragData.h"

#include <QMimeData>

namespace talvo {

QList<QUrl> localFileUrls(const QByteArray &uriList)
{
    QList<QUrl> urls;
    // RFC 2483: one URI per line, CRLF (or LF from lax sources), '#' comments.
    for (QByteArray line : uriList.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QUrl url(QString::fromUtf8(line), QUrl::StrictMode);
        if (url.isValid() && url.isLocalFile() && !url.toLocalFile().isEmpty())
            urls.append(url);
    }
    return urls;
}

QStringList MimeDragData::formats() const
{
    return m_mime.formats();
}

QByteArray MimeDragData::data(const QString &format) const
{
    return m_mime.data(format);
}

} // namespace talvo
