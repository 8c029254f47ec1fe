#include "columnfitter.h"

#include <QtTest>

// The table's columns share the view: every column at least its minimum, the widest cut
// down to one width.
class TestColumnFitter : public QObject
{
    Q_OBJECT

private slots:
    void sharesTheRoom_data();
    void sharesTheRoom();
};

using Widths = QVector<qreal>;

void TestColumnFitter::sharesTheRoom_data()
{
    QTest::addColumn<Widths>("wanted");
    QTest::addColumn<Widths>("minimums");
    QTest::addColumn<qreal>("available");
    QTest::addColumn<Widths>("expected");
    QTest::newRow("the widest two to one width")
        << Widths{400, 300, 50} << Widths{40, 40, 50} << 351.0 << Widths{150, 150, 50};
    QTest::newRow("a long title keeps its width")
        << Widths{400, 300, 50} << Widths{40, 200, 50} << 351.0 << Widths{101, 200, 50};
    QTest::newRow("titles wider than the view")
        << Widths{400, 300, 50} << Widths{100, 200, 50} << 200.0 << Widths{100, 200, 50};
}

void TestColumnFitter::sharesTheRoom()
{
    QFETCH(Widths, wanted);
    QFETCH(Widths, minimums);
    QFETCH(qreal, available);
    const std::vector<qreal> widths = ColumnFitter::share(
        {wanted.begin(), wanted.end()}, {minimums.begin(), minimums.end()}, available);
    QTEST(Widths(widths.begin(), widths.end()), "expected");
}

QTEST_MAIN(TestColumnFitter)
#include "tst_columnfitter.moc"
