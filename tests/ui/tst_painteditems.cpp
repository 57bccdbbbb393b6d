#include "panel/SoftGlowItem.h"
#include "ui/GlassCardItem.h"
#include "ui/RoundedImage.h"

#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>

using namespace talvo;

// The painted items at sizes the layout passes through while it animates:
// under a pixel the renderer has no picture for them, and painting into none
// floods the log; grown again, they draw.
class TestPaintedItems : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QQuickWindow::setGraphicsApi(QSGRendererInterface::Software); }

    void drawOnlyFromOnePixel_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QSizeF>("size");
        for (const char *type : {"glass card", "rounded image", "soft glow"}) {
            QTest::addRow("%s, a sliver", type) << QString::fromLatin1(type) << QSizeF(0.3, 40);
            QTest::addRow("%s, a line", type) << QString::fromLatin1(type) << QSizeF(40, 0.3);
        }
    }
    void drawOnlyFromOnePixel()
    {
        QFETCH(QString, type);
        QFETCH(QSizeF, size);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("QPainter")));
        QQuickWindow window;
        window.resize(80, 80);
        QQuickPaintedItem *item = nullptr;
        if (type == u"glass card") {
            auto *card = new GlassCardItem(window.contentItem());
            card->setProperty("shadowColor", QColor(0, 0, 0, 120));
            card->setProperty("shadowBlur", 0.1);
            card->setProperty("fillTop", QColor(Qt::white));
            card->setProperty("fillBottom", QColor(Qt::white));
            item = card;
        } else if (type == u"rounded image") {
            auto *image = new RoundedImage(window.contentItem());
            QImage picture(8, 8, QImage::Format_ARGB32);
            picture.fill(Qt::red);
            image->setProperty("image", picture);
            item = image;
        } else {
            auto *glow = new SoftGlowItem(window.contentItem());
            glow->setProperty("color", QColor(Qt::yellow));
            glow->setProperty("discRadius", 4.0);
            item = glow;
        }
        item->setSize(size);
        QVERIFY(!window.grabWindow().isNull());
        item->setSize(QSizeF(40, 40));
        const QImage grown = window.grabWindow();
        QVERIFY(qAlpha(grown.pixel(20, 20)) > 0);
    }
};

QTEST_MAIN(TestPaintedItems)
#include "tst_painteditems.moc"
