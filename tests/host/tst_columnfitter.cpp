#include "columnfitter.h"
#include "participantlistmodel.h"

#include <QtTest>

// The table's columns share the view: titles and the delete column whole, the rest by
// content, and a text of several lines shown by its first.
class TestColumnFitter : public QObject
{
    Q_OBJECT

private slots:
    void sharesTheRoom_data();
    void sharesTheRoom();
    void showsTheFirstLine();
};

void TestColumnFitter::sharesTheRoom_data()
{
    QTest::addColumn<QVector<qreal>>("wanted");
    QTest::addColumn<QVector<qreal>>("minimums");
    QTest::addColumn<qreal>("available");
    QTest::addColumn<QVector<qreal>>("expected");
    QTest::newRow("room for all") << QVector<qreal>{100, 50, 80} << QVector<qreal>{40, 40, 80}
                                  << qreal(300) << QVector<qreal>{100, 50, 80};
    QTest::newRow("the widest gives way")
        << QVector<qreal>{400, 50, 80} << QVector<qreal>{40, 40, 80} << qreal(300)
        << QVector<qreal>{170, 50, 80};
    QTest::newRow("two wide ones to one width")
        << QVector<qreal>{400, 300, 50} << QVector<qreal>{40, 40, 50} << qreal(351)
        << QVector<qreal>{150, 150, 50};
    QTest::newRow("a long title keeps its width")
        << QVector<qreal>{400, 300, 50} << QVector<qreal>{40, 200, 50} << qreal(351)
        << QVector<qreal>{101, 200, 50};
    QTest::newRow("titles wider than the view")
        << QVector<qreal>{400, 300, 50} << QVector<qreal>{100, 200, 50} << qreal(200)
        << QVector<qreal>{100, 200, 50};
}

void TestColumnFitter::sharesTheRoom()
{
    QFETCH(QVector<qreal>, wanted);
    QFETCH(QVector<qreal>, minimums);
    QFETCH(qreal, available);
    QFETCH(QVector<qreal>, expected);
    const std::vector<qreal> widths = ColumnFitter::share(
        {wanted.begin(), wanted.end()}, {minimums.begin(), minimums.end()}, available);
    QCOMPARE(QVector<qreal>(widths.begin(), widths.end()), expected);
}

void TestColumnFitter::showsTheFirstLine()
{
    QCOMPARE(ColumnFitter::shownText("name", "Сидоров; \"Пётр\"\nмладший"),
             QStringLiteral("Сидоров; \"Пётр\" ⏎"));
    QCOMPARE(ColumnFitter::shownText("group", "5А\r\n"), QStringLiteral("5А ⏎"));
    QCOMPARE(ColumnFitter::shownText("step", "6.0"), QStringLiteral("6"));
    QCOMPARE(ColumnFitter::shownText("name", QVariant::fromValue(nullptr)), QString());

    // Widths follow what the cells show, not the whole text.
    ParticipantListModel list;
    QVERIFY(list.load(QStringLiteral(R"([{"name":"Ян\n%1","step":"6.0"},{"name":"Ян ⏎"}])")
                          .arg(QString(300, QLatin1Char('W')))));
    ColumnFitter fitter;
    const QVariantList one = fitter.contentWidths(&list, {"name", "step", "sex"}, 1);
    const QVariantList both = fitter.contentWidths(&list, {"name", "step", "sex"}, 2);
    QCOMPARE(one.at(0), both.at(0));
    QVERIFY(one.at(0).toReal() > ColumnFitter::textPadding);
    QCOMPARE(one.at(2).toReal(), 0.0);
}

QTEST_MAIN(TestColumnFitter)
#include "tst_columnfitter.moc"
