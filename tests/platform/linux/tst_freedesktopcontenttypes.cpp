#include "platform/linux/FreedesktopContentTypes.h"

#include <QIcon>
#include <QTest>

using namespace talvo;

// Runs against the icon themes installed on this machine; the setup installs
// only the distribution's default theme, which is what must work.
class TestFreedesktopContentTypes : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Start as a session without a desktop does: no theme chosen.
        QIcon::setThemeName(QString());
    }

    void everyAnswerIsAnIconTheThemeHas_data()
    {
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("expected"); // "generic", "specific", or an icon name prefix
        QTest::newRow("pdf") << "pdf" << "specific";
        QTest::newRow("png") << "png" << "image-";
        QTest::newRow("txt") << "txt" << "text-";
        QTest::newRow("unknown") << "zzq" << "generic";
        QTest::newRow("empty") << "" << "generic";
        QTest::newRow("wildcard") << "*" << "generic";
    }
    void everyAnswerIsAnIconTheThemeHas()
    {
        QFETCH(QString, extension);
        QFETCH(QString, expected);
        FreedesktopContentTypes types;
        const QString icon = types.iconNameForExtension(extension);
        QVERIFY2(QIcon::hasThemeIcon(icon), qPrintable(icon));
        if (expected == QLatin1String("generic"))
            QCOMPARE(icon, types.genericDataIconName());
        else if (expected == QLatin1String("specific"))
            QVERIFY2(icon != types.genericDataIconName(), qPrintable(icon));
        else
            QVERIFY2(icon.startsWith(expected), qPrintable(icon));
    }

    void folderAndGenericIconsResolve()
    {
        FreedesktopContentTypes types;
        QVERIFY2(QIcon::hasThemeIcon(types.folderIconName()), qPrintable(types.folderIconName()));
        QVERIFY2(QIcon::hasThemeIcon(types.genericDataIconName()), qPrintable(types.genericDataIconName()));
        QVERIFY(!QIcon::fromTheme(types.folderIconName()).pixmap(48).isNull());
    }

    void aChosenThemeIsKept()
    {
        QIcon::setThemeName(QStringLiteral("hicolor"));
        FreedesktopContentTypes::useDefaultIconThemeWhenUnset();
        QCOMPARE(QIcon::themeName(), QStringLiteral("hicolor"));
        QCOMPARE(QIcon::fallbackThemeName(), QStringLiteral("Adwaita"));
        QIcon::setThemeName(QString());
    }
};

QTEST_MAIN(TestFreedesktopContentTypes)
#include "tst_freedesktopcontenttypes.moc"
