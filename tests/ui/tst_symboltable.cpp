#include "ui/SymbolTable.h"
#include "notch/NotchShelfLayout.h"

#include <QDirIterator>
#include <QFile>
#include <QFontInfo>
#include <QRawFont>
#include <QRegularExpression>
#include <QTest>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TalvoPlugin)

using namespace talvo;

class TestSymbolTable : public QObject
{
    Q_OBJECT
private slots:
    void namesAreSortedAndUnique()
    {
        const QStringList names = SymbolTable::names();
        QVERIFY(!names.isEmpty());
        for (qsizetype i = 1; i < names.size(); ++i)
            QVERIFY2(names[i - 1] < names[i], qPrintable(names[i]));
        for (const QString &name : names)
            QVERIFY2(SymbolTable::codepoint(name), qPrintable(name));
    }

    // The icon font is installed by the setup script; each entry must point at
    // a glyph it really has, or the view shows an empty box.
    void everyGlyphExistsInTheIconFont()
    {
        QFont font(SymbolTable::fontFamily());
        QCOMPARE(QFontInfo(font).family(), SymbolTable::fontFamily());
        const QRawFont raw = QRawFont::fromFont(font);
        QVERIFY(raw.isValid());
        for (const QString &name : SymbolTable::names()) {
            const char16_t point = *SymbolTable::codepoint(name);
            QVERIFY2(raw.supportsCharacter(QChar(point)), qPrintable(name));
        }
    }

    // Every symbol a view of the program names, by literal in its QML or
    // through the C++ that feeds it, is in the table.
    void everySymbolTheViewsNameIsKnown()
    {
        static const QRegularExpression literal(
            QStringLiteral("(?:symbol\\s*:\\s*|Symbols\\.glyph\\(\\s*)\"([^\"]+)\""));
        QStringList used;
        QDirIterator files(QStringLiteral(":/qt/qml/Talvo"), {QStringLiteral("*.qml")}, QDir::Files,
                           QDirIterator::Subdirectories);
        int fileCount = 0;
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            ++fileCount;
            const QString text = QString::fromUtf8(file.readAll());
            for (const QRegularExpressionMatch &m : literal.globalMatch(text))
                used.append(m.captured(1));
        }
        QVERIFY(fileCount > 0);
        for (ToastStyle style : {ToastStyle::Success, ToastStyle::Warning, ToastStyle::Info})
            used.append(NotchShelfLayout::toastSymbolFor(style));
        QVERIFY(used.contains(QStringLiteral("tray.fill")));
        for (const QString &name : used)
            QVERIFY2(SymbolTable::codepoint(name), qPrintable(name));
    }

    void unknownNamesGiveNoGlyphAndOneLogLine()
    {
        QTest::ignoreMessage(QtWarningMsg, "unknown symbol name: not.a.symbol");
        QVERIFY(SymbolTable::glyph(QStringLiteral("not.a.symbol")).isEmpty());
        QVERIFY(SymbolTable::glyph(QStringLiteral("not.a.symbol")).isEmpty()); // no second line
        QVERIFY(SymbolTable::glyph(QString()).isEmpty());
        QCOMPARE(SymbolTable::glyph(QStringLiteral("tray.fill")), QString(QChar(0xe156)));
    }
};

QTEST_MAIN(TestSymbolTable)
#include "tst_symboltable.moc"
