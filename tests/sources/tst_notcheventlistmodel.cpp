#include "sources/NotchEventListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace talvo;

namespace {

// "a" is an event with id "a"; "a*" the same event with a new title.
QList<NotchEventModel> events(const QStringList &keys)
{
    QList<NotchEventModel> list;
    for (const QString &key : keys) {
        NotchEventModel e;
        e.id = key.left(1);
        e.title = key;
        e.start = QDateTime(QDate(2026, 3, 2), QTime(9, 0));
        list.append(e);
    }
    return list;
}

QStringList rows(const NotchEventListModel &model)
{
    QStringList result;
    for (int row = 0; row < model.rowCount(); ++row)
        result << model.data(model.index(row), NotchEventListModel::TitleRole).toString();
    return result;
}

} // namespace

class TestNotchEventListModel : public QObject
{
    Q_OBJECT
private slots:
    void rowsFollowTheListByKey_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<int>("resets");
        QTest::addColumn<int>("dataChanges");
        QTest::newRow("first fill") << QStringList{} << QStringList{"a", "b"} << 0 << 0;
        QTest::newRow("emptied") << QStringList{"a", "b"} << QStringList{} << 0 << 0;
        QTest::newRow("same list") << QStringList{"a", "b"} << QStringList{"a", "b"} << 0 << 0;
        QTest::newRow("reordered") << QStringList{"a", "b", "c"} << QStringList{"c", "a", "b"} << 0 << 0;
        QTest::newRow("reversed") << QStringList{"a", "b", "c", "d"} << QStringList{"d", "c", "b", "a"} << 0 << 0;
        QTest::newRow("insert and remove") << QStringList{"a", "b", "c"} << QStringList{"x", "b", "y"} << 0 << 0;
        QTest::newRow("retitled") << QStringList{"a", "b"} << QStringList{"a", "b*"} << 0 << 1;
        QTest::newRow("retitled and moved") << QStringList{"a", "b"} << QStringList{"b*", "a"} << 0 << 1;
        QTest::newRow("duplicate ids reset") << QStringList{"a"} << QStringList{"a", "a*"} << 1 << 0;
    }
    void rowsFollowTheListByKey()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(int, resets);
        QFETCH(int, dataChanges);
        NotchEventListModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setEvents(events(before));
        QCOMPARE(rows(model), before);

        // Rows of events that stay must stay the same rows (delegates keep their state).
        QList<QPersistentModelIndex> kept;
        for (int row = 0; row < model.rowCount(); ++row)
            kept << QPersistentModelIndex(model.index(row));
        QSignalSpy resetSpy(&model, &QAbstractItemModel::modelReset);
        QSignalSpy dataSpy(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy countSpy(&model, &NotchEventListModel::countChanged);

        model.setEvents(events(after));
        QCOMPARE(rows(model), after);
        QCOMPARE(resetSpy.count(), resets);
        QCOMPARE(dataSpy.count(), dataChanges);
        QCOMPARE(countSpy.count(), before.size() == after.size() ? 0 : 1);
        if (resets == 0) {
            for (int i = 0; i < kept.size(); ++i) {
                const QString id = before.at(i).left(1);
                const bool stays = std::any_of(after.begin(), after.end(), [&](const QString &k) { return k.left(1) == id; });
                QCOMPARE(kept.at(i).isValid(), stays);
                if (stays)
                    QCOMPARE(kept.at(i).data(NotchEventListModel::IdRole).toString(), id);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestNotchEventListModel)
#include "tst_notcheventlistmodel.moc"
