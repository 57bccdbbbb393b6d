#include "fakes/FakeContentTypes.h"
#include "shelf/ShelfItem.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace talvo;

class TestShelfItem : public QObject
{
    Q_OBJECT
private slots:
    void itemTypeFromRawValue_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<int>("type"); // -1: none
        QTest::newRow("file") << QStringLiteral("file") << int(ItemType::File);
        QTest::newRow("capital F") << QStringLiteral("File") << -1;
        QTest::newRow("empty") << QString() << -1;
    }
    void itemTypeFromRawValue()
    {
        QFETCH(QString, raw);
        QFETCH(int, type);
        const auto parsed = talvo::itemTypeFromRawValue(raw);
        QCOMPARE(parsed.has_value(), type >= 0);
        if (parsed) {
            QCOMPARE(int(*parsed), type);
            QCOMPARE(rawValue(*parsed), raw);
        }
    }

    void displayTitle_data()
    {
        QTest::addColumn<QString>("kind"); // url, text, image
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("title");
        const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467"); // one ZWJ sequence
        const QString accented = QStringLiteral("e\u0301");                                    // e + combining acute

        QTest::newRow("file name with extension")
            << "url" << "/home/u/Documents/Report 2026.pdf" << QStringLiteral("Report 2026.pdf");
        QTest::newRow("folder with trailing slash") << "url" << "/home/u/Music/" << QStringLiteral("Music");
        QTest::newRow("root") << "url" << "/" << QStringLiteral("/");
        QTest::newRow("34 characters: first 20")
            << "text" << "abcdefghijklmnopqrstuvwxyz01234567" << QStringLiteral("abcdefghijklmnopqrst");
        QTest::newRow("exactly 20") << "text" << "12345678901234567890" << QStringLiteral("12345678901234567890");
        QTest::newRow("empty text") << "text" << "" << QString();
        QTest::newRow("emoji never cut") << "text" << family.repeated(25) << family.repeated(20);
        QTest::newRow("accents stay on their letter")
            << "text" << QString(QStringLiteral("ab") + accented.repeated(30)) << QString(QStringLiteral("ab") + accented.repeated(18));
        QTest::newRow("line breaks count") << "text" << "line one\r\nline two and more" << QStringLiteral("line one\r\nline two an");
        QTest::newRow("image") << "image" << "" << QStringLiteral("Image");
    }
    void displayTitle()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        ShelfItem item;
        if (kind == QLatin1String("url"))
            item = ShelfItem::makeFile(QUrl::fromLocalFile(value), {});
        else if (kind == QLatin1String("text"))
            item = ShelfItem::makeText(value);
        else
            item = ShelfItem::makeImage(QImage(2, 2, QImage::Format_RGB32));
        QTEST(item.displayTitle(), "title");
    }

    void displayIcon_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        const int icon = int(ShelfImage::Kind::ThemeIcon);
        const int symbol = int(ShelfImage::Kind::Symbol);
        QTest::newRow("stored image wins") << "stored" << int(ShelfImage::Kind::Bitmap) << QString();
        QTest::newRow("existing folder") << "folder" << icon << QStringLiteral("folder");
        QTest::newRow("deleted folder") << "deleted folder" << icon << QStringLiteral("application-octet-stream");
        QTest::newRow("upper-case extension") << "PDF" << icon << QStringLiteral("application-pdf");
        QTest::newRow("unknown extension") << "unknown" << icon << QStringLiteral("application-octet-stream");
        QTest::newRow("text") << "text" << symbol << QStringLiteral("doc.text.fill");
        QTest::newRow("image without pixels") << "image" << symbol << QStringLiteral("photo.fill");
        QTest::newRow("file without url") << "bare file" << icon << QStringLiteral("application-octet-stream");
    }
    void displayIcon()
    {
        QFETCH(QString, setup);
        QFETCH(int, kind);
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("Pictures"));
        QVERIFY(QDir().mkdir(folder));
        FakeContentTypes types;
        ShelfItem item;
        if (setup == QLatin1String("stored")) {
            QImage pixels(3, 3, QImage::Format_RGB32);
            pixels.fill(Qt::white);
            item = ShelfItem::makeFile(QUrl::fromLocalFile(folder), ShelfImage::fromImage(pixels));
        } else if (setup == QLatin1String("folder")) {
            item = ShelfItem::makeFile(QUrl::fromLocalFile(folder), {});
        } else if (setup == QLatin1String("deleted folder")) {
            item = ShelfItem::makeFile(QUrl::fromLocalFile(folder), {});
            QCOMPARE(item.displayIcon(types).name(), QStringLiteral("folder"));
            QVERIFY(QDir(folder).removeRecursively());
        } else if (setup == QLatin1String("PDF")) {
            item = ShelfItem::makeFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("SCAN.PDF"))), {});
        } else if (setup == QLatin1String("unknown")) {
            item = ShelfItem::makeFile(QUrl::fromLocalFile(dir.filePath(QStringLiteral("x.zzq"))), {});
        } else if (setup == QLatin1String("text")) {
            item = ShelfItem::makeText(QStringLiteral("t"));
        } else if (setup == QLatin1String("image")) {
            item.type = ItemType::Image;
        } else {
            item.type = ItemType::File;
        }
        const ShelfImage shown = item.displayIcon(types);
        QCOMPARE(int(shown.kind()), kind);
        QCOMPARE(shown.name(), name);
    }

    void lowerCaseExtension_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("extension");
        QTest::newRow("upper case") << "A.PDF" << "pdf";
        QTest::newRow("last of several") << "backup.tar.GZ" << "gz";
        QTest::newRow("none") << "README" << "";
        QTest::newRow("trailing dot") << "odd." << "";
        QTest::newRow("hidden file with extension") << ".config.json" << "json";
    }
    void lowerCaseExtension()
    {
        QFETCH(QString, fileName);
        QTEST(talvo::lowerCaseExtension(fileName), "extension");
    }
};

QTEST_GUILESS_MAIN(TestShelfItem)
#include "tst_shelfitem.moc"
