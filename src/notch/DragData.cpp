#include "DragData.h"

#include <QMimeData>

#include <algorithm>

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

bool namesOnlyApplicationEntries(const QByteArray &uriList)
{
    const QList<QUrl> files = localFileUrls(uriList);
    const QList<QByteArray> lines = uriList.split('\n');
    const auto entries = std::count_if(lines.cbegin(), lines.cend(), [](const QByteArray &line) {
        const QByteArray entry = line.trimmed();
        return !entry.isEmpty() && !entry.startsWith('#');
    });
    return !files.isEmpty() && files.size() == entries
           && std::all_of(files.cbegin(), files.cend(),
                          [](const QUrl &url) { return url.path().endsWith(QLatin1String(".desktop")); });
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
