#include "ScreenColorSampler.h"

#include "platform/Log.h"

#include <QCursor>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QRasterWindow>
#include <QScreen>

namespace talvo {

namespace {

constexpr int kPortalCallTimeoutMs = 5000;
constexpr int kMagnifiedPixels = 11; // odd: the picked pixel sits in the middle
constexpr int kMagnification = 10;
constexpr int kLensOffset = 24;

const QString kPortalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPortalPath = QStringLiteral("/org/freedesktop/portal/desktop");

} // namespace

// A still picture of one screen, shown above everything, that lets the user
// point at a pixel. Its colours are read from that picture: what the user saw.
class X11ColorSamplerOverlay final : public QRasterWindow
{
public:
    using Picked = std::function<void(std::optional<QColor>)>;

    X11ColorSamplerOverlay(QScreen *screen, QImage picture, Picked picked)
        : m_picture(std::move(picture)), m_picked(std::move(picked))
    {
        setScreen(screen);
        setFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::X11BypassWindowManagerHint | Qt::Tool);
        setGeometry(screen->geometry());
        setCursor(Qt::CrossCursor);
        setTitle(QStringLiteral("Talvo colour sampler"));
    }

    void start()
    {
        show();
        requestActivate();
        m_pointer = mapFromGlobal(QCursor::pos());
        if (!setMouseGrabEnabled(true))
            qCWarning(lcDesktop) << "The colour sampler could not take the pointer";
        setKeyboardGrabEnabled(true);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(QRect(QPoint(), size()), m_picture);
        paintLens(painter);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        m_pointer = event->position().toPoint();
        update();
    }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (event->button() == Qt::LeftButton)
            end(colorAt(event->position().toPoint()));
        else if (event->button() == Qt::RightButton)
            end(std::nullopt);
    }
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_Escape)
            end(std::nullopt);
    }

private:
    QPoint devicePixel(QPoint logical) const
    {
        const qreal ratio = m_picture.width() / qMax<qreal>(1, width());
        return QPoint(int(logical.x() * ratio), int(logical.y() * ratio));
    }

    std::optional<QColor> colorAt(QPoint logical) const
    {
        const QPoint pixel = devicePixel(logical);
        if (!m_picture.rect().contains(pixel))
            return std::nullopt;
        return QColor::fromRgb(m_picture.pixel(pixel));
    }

    void paintLens(QPainter &painter)
    {
        const int side = kMagnifiedPixels * kMagnification;
        QRect lens(m_pointer + QPoint(kLensOffset, kLensOffset), QSize(side, side));
        // Kept on screen: flipped to the other side of the pointer near an edge.
        if (lens.right() > width())
            lens.moveRight(m_pointer.x() - kLensOffset);
        if (lens.bottom() + 20 > height())
            lens.moveBottom(m_pointer.y() - kLensOffset - 20);
        const QPoint centre = devicePixel(m_pointer);
        const QRect source(centre - QPoint(kMagnifiedPixels / 2, kMagnifiedPixels / 2),
                           QSize(kMagnifiedPixels, kMagnifiedPixels));
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.fillRect(lens, Qt::black);
        painter.drawImage(lens, m_picture.copy(source));
        const QRect middle(lens.topLeft() + QPoint(kMagnifiedPixels / 2, kMagnifiedPixels / 2) * kMagnification,
                           QSize(kMagnification, kMagnification));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(middle);
        painter.setPen(QPen(QColor(0, 0, 0, 160), 2));
        painter.drawRect(lens);
        const std::optional<QColor> color = colorAt(m_pointer);
        if (color) {
            const QRect label(lens.left(), lens.bottom() + 2, lens.width(), 18);
            painter.fillRect(label, QColor(0, 0, 0, 190));
            painter.setPen(Qt::white);
            painter.drawText(label, Qt::AlignCenter, color->name(QColor::HexRgb).toUpper());
        }
    }

    void end(std::optional<QColor> color)
    {
        setMouseGrabEnabled(false);
        setKeyboardGrabEnabled(false);
        hide();
        if (Picked picked = std::exchange(m_picked, {}))
            picked(color);
        deleteLater();
    }

    QImage m_picture;
    Picked m_picked;
    QPoint m_pointer;
};

ScreenColorSampler::ScreenColorSampler(QObject *parent) : QObject(parent) {}

ScreenColorSampler::~ScreenColorSampler()
{
    delete m_overlay;
}

void ScreenColorSampler::sample(Done done)
{
    if (m_done) {
        QMetaObject::invokeMethod(
            this, [done = std::move(done)] { done(std::nullopt); }, Qt::QueuedConnection);
        return;
    }
    m_done = std::move(done);
    if (QDBusConnection::sessionBus().isConnected())
        askPortal();
    else
        QMetaObject::invokeMethod(this, &ScreenColorSampler::sampleOwn, Qt::QueuedConnection);
}

void ScreenColorSampler::askPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    // The request's path is known before the call, so its answer cannot slip
    // past us between the call's return and the subscription.
    const QString token = QStringLiteral("talvo%1").arg(QRandomGenerator::global()->generate());
    QString sender = bus.baseService().mid(1);
    sender.replace(u'.', u'_');
    followRequest(QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token), true);

    QDBusMessage call = QDBusMessage::createMethodCall(kPortalService, kPortalPath,
                                                       QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("PickColor"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token}};
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kPortalCallTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusPendingReply<QDBusObjectPath> reply = *w;
        if (reply.isError()) {
            qCDebug(lcDesktop) << "No portal colour picker:" << reply.error().message();
            followRequest(m_requestPath, false);
            sampleOwn();
            return;
        }
        // Portals older than the handle token choose the path themselves.
        if (reply.value().path() != m_requestPath) {
            followRequest(m_requestPath, false);
            followRequest(reply.value().path(), true);
        }
    });
}

void ScreenColorSampler::followRequest(const QString &path, bool follow)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    const QString interface = QStringLiteral("org.freedesktop.portal.Request");
    const QString signal = QStringLiteral("Response");
    if (follow) {
        m_requestPath = path;
        bus.connect(kPortalService, path, interface, signal, this, SLOT(portalResponded(uint, QVariantMap)));
    } else {
        bus.disconnect(kPortalService, path, interface, signal, this, SLOT(portalResponded(uint, QVariantMap)));
    }
}

void ScreenColorSampler::portalResponded(uint response, const QVariantMap &results)
{
    followRequest(m_requestPath, false);
    // 0: picked, 1: cancelled by the user, 2: the portal could not pick.
    if (response == 1) {
        finish(std::nullopt);
        return;
    }
    if (response == 0 && results.contains(QStringLiteral("color"))) {
        const QDBusArgument argument = results.value(QStringLiteral("color")).value<QDBusArgument>();
        double red = 0, green = 0, blue = 0;
        argument.beginStructure();
        argument >> red >> green >> blue;
        argument.endStructure();
        finish(QColor::fromRgbF(float(qBound(0.0, red, 1.0)), float(qBound(0.0, green, 1.0)),
                                float(qBound(0.0, blue, 1.0))));
        return;
    }
    qCDebug(lcDesktop) << "The portal's colour picker failed; using our own";
    sampleOwn();
}

void ScreenColorSampler::sampleOwn()
{
    QScreen *screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen) {
        qCWarning(lcDesktop) << "No screen to pick a colour from";
        finish(std::nullopt);
        return;
    }
    const QImage picture = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    if (picture.isNull()) {
        qCWarning(lcDesktop) << "Could not read the screen to pick a colour";
        finish(std::nullopt);
        return;
    }
    m_overlay = new X11ColorSamplerOverlay(screen, picture, [this](std::optional<QColor> color) { finish(color); });
    m_overlay->start();
}

void ScreenColorSampler::finish(std::optional<QColor> color)
{
    if (Done done = std::exchange(m_done, {}))
        done(color);
}

} // namespace talvo
