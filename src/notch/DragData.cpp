#include "DragData.h"

#include <QMimeData>

namespace talvo {

QStringList MimeDragData::formats() const
{
    return m_mime.formats();
}

QByteArray MimeDragData::data(const QString &format) const
{
    return m_mime.data(format);
}

} // namespace talvo
