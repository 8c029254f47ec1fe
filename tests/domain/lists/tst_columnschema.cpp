#include "codecs/csvexport.h"
#include "codecs/exporttable.h"
#include "columnschema.h"
#include "listfiltermodel.h"
#include "listhistory.h"
#include "participantlistmodel.h"
#include "tableimport.h"

#include <QAbstractItemModelTester>
#include <QtTest>

// A column added to the schema alone reaches every place that shows, sorts, finds, exports
// or imports the table's columns.
class TestColumnSchema : public QObject
{
    Q_OBJECT

private slots:
    void addedColumnReachesEveryUse();
};

void TestColumnSchema::addedColumnReachesEveryUse()
{
    std::vector<ColumnSchema::Column> columns = ColumnSchema::standardColumns();
    columns.push_back({"chip",
                       QStringLiteral("Чип"),
                       true,
                       ColumnSchema::SortKind::Number,
                       ColumnSchema::ExportKind::Value,
                       ColumnSchema::Shown::AsStored,
                       QStringLiteral("Номер чипа"),
                       9,
                       {QStringLiteral("чип")}});
    const ColumnSchema::Override schema(columns);

    ParticipantListModel model;
    QAbstractItemModelTester modelTester(&model);
    QVERIFY(model.load(QStringLiteral(R"([{"name":"А","chip":"10"},{"name":"Б","chip":"9"},)"
                                      R"({"name":"В","chip":"100","isGto":false}])")));
    const int chipRole = model.roleNames().key("chip", -1);
    QCOMPARE(chipRole, Qt::UserRole + 10);
    QCOMPARE(model.roleNames().value(chipRole + 1), QByteArray("isGto"));
    QCOMPARE(model.data(model.index(1), chipRole).toString(), QStringLiteral("9"));
    QCOMPARE(model.data(model.index(2), chipRole + 1), QVariant(false));

    // Sorted as numbers: 9 before 10 before 100.
    ListHistory history;
    history.setList(&model);
    QVERIFY(history.sortBy(QStringLiteral("chip")));
    QCOMPARE(model.data(model.index(0), chipRole).toString(), QStringLiteral("9"));
    QCOMPARE(model.data(model.index(2), chipRole).toString(), QStringLiteral("100"));

    ListFilterModel filter;
    QAbstractItemModelTester filterTester(&filter);
    filter.setList(&model);
    filter.setFilterText(QStringLiteral("100"));
    QCOMPARE(filter.rowCount(), 1);
    QCOMPARE(filter.data(filter.index(0), chipRole).toString(), QStringLiteral("100"));

    // Printed after the standard columns, before the kind; no longer a key of its own.
    const ExportTable table = ExportTable::build(model.rows(), model.keys());
    QCOMPARE(table.printedColumns, 11);
    QCOMPARE(table.titles.mid(9), QStringList({"Спортивный Разряд", "Чип", "Вид"}));
    QCOMPARE(table.rows[0][10].text, QStringLiteral("9"));
    QVERIFY(CsvExport::write(table).contains("Спортивный Разряд;Чип;Вид\r\n"));

    const QStringList meanings = TableImport::meaningNames();
    QCOMPARE(meanings.mid(10),
             QStringList({"Спортивный разряд", "Номер чипа", "как есть", "пропустить"}));
    QCOMPARE(TableImport::meaningOfHeader(QStringLiteral("Чип")), 11);
    SourceTable source;
    source.columnCount = 2;
    for (const auto &texts : {std::pair<QString, QString>{"ФИО", "Чип"}, {"Иванов Иван", "77"}}) {
        SourceRow row;
        row.cells = {{texts.first, SourceCell::Kind::Text}, {texts.second, SourceCell::Kind::Text}};
        source.rows.push_back(row);
    }
    const TableImport::Columns guessed = TableImport::guessColumns(source);
    QCOMPARE(guessed.meanings, (std::vector<int>{TableImport::FullName, 11}));
    const TableImport::Result result = TableImport::build(source, guessed, QDate(2024, 1, 1));
    QCOMPARE(result.records.size(), std::size_t(1));
    const ListValue *chip = result.records[0].value("chip");
    QVERIFY(chip);
    QCOMPARE(chip->text, QByteArray("77"));
}

QTEST_GUILESS_MAIN(TestColumnSchema)
#include "tst_columnschema.moc"
