#include "ShelfDragOut.h"

#include "ShelfItemListModel.h"
#include "platform/DragSessions.h"
#include "platform/Log.h"
#include "platform/QmlInstances.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>

namespace talvo {

namespace {

const QString kPng = QStringLiteral("image/png");
const QString kTiff = QStringLiteral("image/tiff");

QByteArray encode(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, format))
        return {};
    return bytes;
}

// PNG at once; TIFF is encoded only when a target asks for it, since most
// never do and a large picture takes a while.
class ImageMimeData final : public QMimeData
{
public:
    ImageMimeData(QImage image, QByteArray png) : m_image(std::move(image)), m_png(std::move(png)) {}

    QStringList formats() const override { return {kPng, kTiff}; }
    bool hasFormat(const QString &format) const override { return format == kPng || format == kTiff; }

protected:
    QVariant retrieveData(const QString &format, QMetaType) const override
    {
        if (format == kPng)
            return m_png;
        if (format != kTiff)
            return {};
        if (m_tiff.isEmpty()) {
            m_tiff = encode(m_image, "TIFF");
            if (m_tiff.isEmpty())
                qCWarning(lcShelf).noquote() << QStringLiteral("Cannot encode the image as TIFF");
        }
        return m_tiff;
    }

private:
    QImage m_image;
    QByteArray m_png;
    mutable QByteArray m_tiff;
};

} // namespace

ShelfDragOut::ShelfDragOut(ShelfItemListModel *items, DragSessions &sessions, const ContentTypes &contentTypes,
                           QObject *parent)
    : QObject(parent)
    , m_items(items)
    , m_sessions(sessions)
    , m_contentTypes(contentTypes)
{
}

ShelfDragOut *ShelfDragOut::create(QQmlEngine *qmlEngine, QJSEngine *)
{
    return providedInstance<ShelfDragOut>(qmlEngine);
}

std::optional<ShelfItem> ShelfDragOut::item(const QString &id) const
{
    if (!m_items)
        return std::nullopt;
    const int row = m_items->indexOf(id);
    if (row < 0)
        return std::nullopt;
    return m_items->items().at(row);
}

void ShelfDragOut::removeItem(const QString &id)
{
    emit removalRequested(QUuid(id));
}

std::unique_ptr<QMimeData> ShelfDragOut::makeDragData(const ShelfItem &item)
{
    if (!item.url.isEmpty()) {
        auto data = std::make_unique<QMimeData>();
        data->setUrls({item.url});
        return data;
    }
    if (item.text) {
        auto data = std::make_unique<QMimeData>();
        data->setText(*item.text);
        return data;
    }
    if (item.image.kind() == ShelfImage::Kind::Bitmap) {
        QByteArray png = encode(item.image.image(), "PNG");
        if (!png.isEmpty())
            return std::make_unique<ImageMimeData>(item.image.image(), std::move(png));
    }
    return nullptr;
}

Qt::DropActions ShelfDragOut::sourceOperationMask(ItemType type, Qt::KeyboardModifiers modifiers)
{
    if (type == ItemType::File && modifiers.testFlag(kMoveModifier))
        return Qt::MoveAction;
    return Qt::CopyAction;
}

QImage ShelfDragOut::dragPicture(const ShelfItem &item, qreal devicePixelRatio) const
{
    QImage picture = item.displayIcon(m_contentTypes).rendered(kPictureSize, devicePixelRatio);
    if (picture.isNull())
        picture = ShelfImage::symbol(QStringLiteral("doc.fill")).rendered(kPictureSize, devicePixelRatio);
    return picture;
}

bool ShelfDragOut::beginDrag(const ShelfItem &item, QPointF point, QSizeF tileSize, std::function<void()> ended)
{
    std::unique_ptr<QMimeData> data = makeDragData(item);
    if (!data)
        return false;

    const QScreen *screen = QGuiApplication::primaryScreen();
    DragSessions::Request request;
    request.data = std::move(data);
    request.picture = dragPicture(item, screen ? screen->devicePixelRatio() : 1.0);
    const QPointF pictureOrigin(tileSize.width() / 2 - kPictureSize / 2.0, tileSize.height() / 2 - kPictureSize / 2.0);
    request.hotSpot = (point - pictureOrigin).toPoint();
    // The session proposes move only while the modifier is held, so offering
    // both lets the rule hold at every moment of the drag.
    request.allowedActions = sourceOperationMask(item.type, {}) | sourceOperationMask(item.type, kMoveModifier);
    request.defaultAction = Qt::CopyAction;

    QPointer<ShelfDragOut> self(this);
    m_sessions.start(
        std::move(request),
        [self, item] {
            // The shelf strip shows while a file is on its way out.
            if (self && item.type == ItemType::File)
                emit self->fileDragOutBegan();
        },
        [self, item, ended = std::move(ended)](Qt::DropAction action) {
            if (ended)
                ended();
            if (self)
                self->sessionEnded(item, action);
        });
    return true;
}

void ShelfDragOut::sessionEnded(const ShelfItem &item, Qt::DropAction action)
{
    emit dragOutEnded();
    if (item.type == ItemType::File && (action & Qt::MoveAction))
        emit fileMovedOut(item.id, item.url);
}

} // namespace talvo
