#include "ClipboardManager.h"

#include "platform/Clipboard.h"
#include "platform/Log.h"
#include "platform/QmlInstances.h"
#include "platform/WorkQueue.h"

#include <QBuffer>
#include <QImageWriter>

namespace talvo {

namespace {

struct PackedPicture
{
    QByteArray png;
    QImage preview;
};

// On the work queue: the picture as PNG at zlib's fastest level (a
// screenshot still shrinks about tenfold) and a preview of the same logical
// size, for the card.
PackedPicture packPicture(const QImage &picture)
{
    PackedPicture packed;
    QBuffer buffer(&packed.png);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setCompression(1);
    if (!writer.write(picture))
        return {};
    const int side = ClipboardManager::previewSide;
    packed.preview = picture.scaled(QSize(side, side), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    packed.preview.setDevicePixelRatio(picture.devicePixelRatio() * packed.preview.width() / picture.width());
    return packed;
}

} // namespace

ClipboardManager::ClipboardManager(Clipboard &clipboard, Scheduler &scheduler, WorkQueue &packing, QObject *parent)
    : QObject(parent)
    , m_clipboard(clipboard)
    , m_scheduler(scheduler)
    , m_packing(packing)
    , m_history(this)
    // Starting from the current count keeps what was copied before we existed
    // out of the history.
    , m_lastChangeCount(clipboard.changeCount())
{
}

ClipboardManager::~ClipboardManager()
{
    m_timer.cancel();
}

ClipboardManager *ClipboardManager::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ClipboardManager>(qmlEngine);
}

void ClipboardManager::startMonitoring()
{
    if (m_timer.isActive())
        return;
    checkPasteboard();
    m_timer = m_scheduler.every(pollInterval, this, [this] { checkPasteboard(); });
}

void ClipboardManager::stopMonitoring()
{
    m_timer.cancel();
    m_timer = {};
}

void ClipboardManager::checkPasteboard()
{
    const qint64 count = m_clipboard.changeCount();
    if (count == m_lastChangeCount)
        return;
    m_lastChangeCount = count;
    // A password shown in the panel and kept for the session would outlive
    // the password manager's own clearing of the clipboard.
    if (m_clipboard.isConcealed())
        return;

    // A copied picture often carries a text form too (a file name, a link);
    // the picture is what the user meant.
    const QImage image = m_clipboard.image();
    if (!image.isNull()) {
        recordImage(image);
        return;
    }
    if (const auto text = m_clipboard.string())
        recordText(*text);
}

bool ClipboardManager::isColorCode(const QString &text)
{
    if (!text.startsWith(u'#'))
        return false;
    const qsizetype digits = text.size() - 1;
    if (digits != 3 && digits != 6 && digits != 8)
        return false;
    for (qsizetype i = 1; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        const bool hex = (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (!hex)
            return false;
    }
    return true;
}

ClipboardType ClipboardManager::classifyText(const QString &text)
{
    if (isColorCode(text))
        return ClipboardType::color;
    if (text.startsWith(QLatin1String("http://")) || text.startsWith(QLatin1String("https://")))
        return ClipboardType::link;
    return ClipboardType::text;
}

void ClipboardManager::recordText(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return;
    // Only a repeat of the newest entry is dropped: copying A, B, A again is
    // three separate moments the user may want back.
    const auto &items = history();
    if (!items.isEmpty() && items.first().text == trimmed)
        return;
    ClipboardItem item{QUuid::createUuid(), trimmed, std::nullopt, classifyText(trimmed), m_scheduler.now(), {}, {}};
    m_scheduler.post(this, [this, item] { insert(item); });
}

void ClipboardManager::recordImage(const QImage &image)
{
    // Images cannot be compared cheaply; the same size as the newest image is
    // taken as the same picture copied again.
    const auto &items = history();
    if (!items.isEmpty()) {
        const ClipboardItem &newest = items.first();
        if (newest.type == ClipboardType::image && newest.image && !newest.image->isNull()
            && newest.imageSize == image.deviceIndependentSize())
            return;
    }
    ClipboardItem item{QUuid::createUuid(), std::nullopt, image, ClipboardType::image, m_scheduler.now(), {},
                       image.deviceIndependentSize()};
    m_scheduler.post(this, [this, item] { insert(item); });
}

void ClipboardManager::insert(const ClipboardItem &item)
{
    m_history.prepend(item);
    if (m_history.rowCount() > historyLimit)
        m_history.removeLast();
    emit historyChanged();
    if (item.image && item.image->sizeInBytes() > packAboveBytes)
        pack(item);
}

void ClipboardManager::pack(const ClipboardItem &item)
{
    runOnQueue<PackedPicture>(
        m_packing, m_scheduler, this, [picture = *item.image] { return packPicture(picture); },
        [this, id = item.id](PackedPicture packed) {
            if (packed.png.isEmpty()) {
                qCWarning(lcDesktop) << "Cannot pack a copied picture; the history keeps it as it is";
                return;
            }
            m_history.setPacked(id, packed.preview, packed.png);
        });
}

void ClipboardManager::copyToPasteboard(const ClipboardItem &item)
{
    if (item.text) {
        m_clipboard.setString(*item.text);
    } else if (!item.packedImage.isEmpty()) {
        QImage picture;
        if (!picture.loadFromData(item.packedImage, "PNG")) {
            qCWarning(lcDesktop) << "Cannot unpack a picture of the clipboard history";
            return;
        }
        picture.setDevicePixelRatio(picture.width() / item.imageSize.width());
        m_clipboard.setImage(picture);
    } else if (item.image) {
        m_clipboard.setImage(*item.image);
    } else {
        return;
    }
    // Our own write must not come back as a new copy at the next poll.
    m_lastChangeCount = m_clipboard.changeCount();
}

void ClipboardManager::copyToPasteboard(const QString &id)
{
    const int row = m_history.indexOfId(QUuid::fromString(id));
    if (row >= 0)
        copyToPasteboard(history().at(row));
}

void ClipboardManager::clearHistory()
{
    m_scheduler.post(this, [this] {
        if (history().isEmpty())
            return;
        m_history.clear();
        emit historyChanged();
    });
}

} // namespace talvo
