#include "codecs/listjson.h"
#include "listimport.h"
#include "participantlistmodel.h"
#include "tableimport.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace TableImport;

namespace {

// Cells as text; "#" marks a spreadsheet number and "@" a spreadsheet date.
SourceTable tableOf(const QList<QStringList> &rows)
{
    SourceTable table;
    for (const QStringList &texts : rows) {
        SourceRow row;
        for (const QString &text : texts) {
            SourceCell cell;
            cell.kind = text.startsWith('#')   ? SourceCell::Kind::Number
                        : text.startsWith('@') ? SourceCell::Kind::Date
                                               : SourceCell::Kind::Text;
            cell.text = cell.kind == SourceCell::Kind::Text ? text : text.mid(1);
            row.cells.push_back(cell);
        }
        table.columnCount = std::max(table.columnCount, int(row.cells.size()));
        table.rows.push_back(row);
    }
    return table;
}

QStringList json(const std::vector<ParticipantRecord> &records)
{
    QStringList texts;
    for (const ParticipantRecord &record : records)
        texts << QString::fromStdString(ListJson::write(record));
    return texts;
}

} // namespace

class TestTableImport : public QObject
{
    Q_OBJECT

private slots:
    void headers_data();
    void headers();
    void headerRows_data();
    void headerRows();
    void rows_data();
    void rows();
    void previewReachesTheListOnlyWhenChosen();
    void headerlessPreviewCountsChosenColumns();
    void participantListImportMarksRepeats();
};

void TestTableImport::headers_data()
{
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("meaning");
    const QList<QPair<QString, int>> cases = {{"ФИО", FullName},
                                              {" ф. и. о. ", FullName},
                                              {"Фамилия, имя, отчество", FullName},
                                              {"ФАМИЛИЯ", Surname},
                                              {"Имя", FirstName},
                                              {"Отчёство", Patronymic},
                                              {"Дата рождения:", BirthDate},
                                              {"ДР", BirthDate},
                                              {"Класс", Group},
                                              {"Группа", Group},
                                              {"Школа", Organization},
                                              {"Учреждение", Organization},
                                              {"УИН", GtoUuid},
                                              {"УИНН", GtoUuid},
                                              {"ИД ГТО", GtoUuid},
                                              {"ID", GtoUuid},
                                              {"пол", Sex},
                                              {"Нагрудный номер", PectoralNumber},
                                              {"Номер", PectoralNumber},
                                              {"Разряд", AthleticRank},
                                              {"Спортивный Разряд", AthleticRank},
                                              {"Ступень", Skip},
                                              {"№ п/п", Skip},
                                              {"№", Skip},
                                              {"Район", -1},
                                              {"Дата", -1},
                                              {"", -1}};
    for (const auto &c : cases)
        QTest::newRow(qPrintable(c.first)) << c.first << c.second;
}

void TestTableImport::headers()
{
    QFETCH(QString, header);
    QFETCH(int, meaning);
    QCOMPARE(meaningOfHeader(header), meaning);
}

void TestTableImport::headerRows_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<int>("headerRows");
    QTest::addColumn<QList<int>>("meanings");
    QTest::newRow("no header, a school called Школа")
        << QList<QStringList>{{"Иванов Иван", "7.3.2010", "Школа"},
                              {"Петров Пётр", "1.1.2011", "Школа"}}
        << 0 << QList<int>{Skip, Skip, Skip};
    QTest::newRow("no header, a dash for a missing date")
        << QList<QStringList>{{"Иванов Иван", "-", "Школа"}} << 0 << QList<int>{Skip, Skip, Skip};
    QTest::newRow("no header, one column")
        << QList<QStringList>{{"Иванов Иван"}, {"Петров Пётр"}} << 0 << QList<int>{Skip};
    QTest::newRow("a header of one column")
        << QList<QStringList>{{"ФИО"}, {"Иванов Иван"}} << 1 << QList<int>{FullName};
    QTest::newRow("row numbers and names") << QList<QStringList>{{"№", "ФИО"}, {"1", "Иванов Иван"}}
                                           << 1 << QList<int>{Skip, FullName};
    QTest::newRow("a title, then a header with a column of its own")
        << QList<QStringList>{{"Список 5А"}, {"ФИО", "Район", "Класс"}, {"Иванов", "Центр", "5А"}}
        << 2 << QList<int>{FullName, AsIs, Group};
}

void TestTableImport::headerRows()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(int, headerRows);
    QFETCH(QList<int>, meanings);
    const Columns columns = guessColumns(tableOf(rows));
    QCOMPARE(columns.headerRows, headerRows);
    QCOMPARE(QList<int>(columns.meanings.begin(), columns.meanings.end()), meanings);
}

void TestTableImport::rows_data()
{
    QTest::addColumn<QList<QStringList>>("rows");
    QTest::addColumn<QList<int>>("meanings");
    QTest::addColumn<QStringList>("records");
    QTest::addColumn<QStringList>("problems");

    const QString gto = "{\"birthDate\":\"%1\",\"group\":\"Школа 5\",\"gtoUuid\":\"%2\","
                        "\"isGto\":true,\"name\":\"%3\",\"organization\":\"Школа 5\","
                        "\"sex\":\"%4\",\"step\":\"%5\"%6}";
    QTest::newRow("GTO, training, problems, an empty row")
        << QList<QStringList>{{"№", "Ф.И.О.", "Дата рождения", "Школа", "Класс", "УИН", "Пол",
                               "Номер", "Район"},
                              {"1", "  Иванов   Иван ", "7.3.2010", "Школа 5", "5А",
                               "12-34-5678901", "муж", "#17", "Центр"},
                              {"2", "Петров Пётр", "", "Школа 5", "5Б", "", "м"},
                              {"", " ", ""},
                              {"4", "Сидорова", "31.02.2010", "Школа 5", "", "123", "x"},
                              {"5", "", "@01.01.2012", "Школа 5", "", "#12345678901", "Ж"}}
        << QList<int>{Skip,    FullName, BirthDate,      Organization, Group,
                      GtoUuid, Sex,      PectoralNumber, AsIs}
        << QStringList{gto.arg("07.03.2010", "12345678901", "Иванов Иван", "М", "5.0",
                               ",\"pectoralNumber\":\"17\",\"Район\":\"Центр\""),
                       "{\"group\":\"5Б\",\"isGto\":false,\"name\":\"Петров Пётр\","
                       "\"organization\":\"Школа 5\"}",
                       gto.arg("31.02.2010", "123", "Сидорова", "x", "3.0", ""),
                       gto.arg("01.01.2012", "12345678901", "", "Ж", "4.0", "")}
        << QStringList{"строка 5: нет даты 31.02.2010", "строка 5: УИН 123 — не 11 цифр",
                       "строка 5: непонятный пол x", "строка 6: нет имени"};
    QTest::newRow("title above a two-level header, name parts, date cells")
        << QList<QStringList>{{"Список 5А"},
                              {"Участник", "Участник", "Участник", "Дата рождения", "Школа"},
                              {"Имя", "Фамилия", "Отчество", "Дата рождения", ""},
                              {"Иван", "Иванов", "Иванович", "@07.03.2010", "Школа 5"},
                              {"Анна", "Петрова", "", "2010-03-07", "Школа 5"}}
        << QList<int>{FirstName, Surname, Patronymic, BirthDate, Organization}
        << QStringList{gto.arg("07.03.2010", "", "Иванов Иван Иванович", "", "5.0", ""),
                       gto.arg("07.03.2010", "", "Петрова Анна", "", "5.0", "")}
        << QStringList();
    // Only a date cell or a text is a date: a number without a date style is no day count.
    QTest::newRow("birth dates: a number, a date cell, texts, one in the future")
        << QList<QStringList>{{"ФИО", "Дата рождения", "Школа"},
                              {"Иванов", "#2010", "Школа 5"},
                              {"Петров", "#40244.5", "Школа 5"},
                              {"Сидоров", "@07.03.2010", "Школа 5"},
                              {"Кузнецов", "2010-03-07", "Школа 5"},
                              {"Орлов", "08.03.2026", "Школа 5"},
                              {"Зайцев", "07.03.2026", "Школа 5"}}
        << QList<int>{FullName, BirthDate, Organization}
        << QStringList{gto.arg("2010", "", "Иванов", "", "3.0", ""),
                       gto.arg("40244.5", "", "Петров", "", "3.0", ""),
                       gto.arg("07.03.2010", "", "Сидоров", "", "5.0", ""),
                       gto.arg("07.03.2010", "", "Кузнецов", "", "5.0", ""),
                       gto.arg("08.03.2026", "", "Орлов", "", "3.0", ""),
                       gto.arg("07.03.2026", "", "Зайцев", "", "3.0", "")}
        << QStringList{"строка 2: нет даты 2010", "строка 3: нет даты 40244.5",
                       "строка 6: дата рождения в будущем 08.03.2026"};
    // Rows with nothing but skipped cells make no record.
    QTest::newRow("no header: no guesses")
        << QList<QStringList>{{"Иванов Иван", "5А"}, {"Петров Пётр", "5Б"}}
        << QList<int>{Skip, Skip} << QStringList() << QStringList();
    QTest::newRow("numbered template rows")
        << QList<QStringList>{{"№", "ФИО", "Класс", "Примечание"},
                              {"1", "Иванов Иван", "5А"},
                              {"2", "", " ", ""},
                              {"3"},
                              {"", "", "", "4"}}
        << QList<int>{Skip, FullName, Group, AsIs}
        << QStringList{"{\"group\":\"5А\",\"isGto\":false,\"name\":\"Иванов Иван\","
                       "\"organization\":\"\"}",
                       "{\"group\":\"\",\"isGto\":false,\"name\":\"\",\"organization\":\"\","
                       "\"Примечание\":\"4\"}"}
        << QStringList{"строка 5: нет имени"};
}

// Pinned to 7 March 2026.
void TestTableImport::rows()
{
    QFETCH(QList<QStringList>, rows);
    QFETCH(QList<int>, meanings);
    QFETCH(QStringList, records);
    QFETCH(QStringList, problems);
    const SourceTable table = tableOf(rows);
    const Columns columns = guessColumns(table);
    QCOMPARE(QList<int>(columns.meanings.begin(), columns.meanings.end()), meanings);
    const Result result = build(table, columns, QDate(2026, 3, 7));
    QCOMPARE(json(result.records), records);
    QCOMPARE(result.problems, problems);
}

void TestTableImport::previewReachesTheListOnlyWhenChosen()
{
    ParticipantListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    const QString before = "[{\"group\":\"1А\",\"isGto\":false,\"name\":\"Было\","
                           "\"organization\":\"Клуб\"}]";
    QVERIFY(model.load(before));
    const QString rows = "ФИО\tКласс\tКлуб\r\nИванов Иван\t5А\tШкола\r\nПетров Пётр\t5Б\t\r\n";
    const QString imported = "{\"group\":\"5А\",\"isGto\":false,\"name\":\"Иванов Иван\","
                             "\"organization\":\"\",\"Клуб\":\"Школа\"},{\"group\":\"5Б\","
                             "\"isGto\":false,\"name\":\"Петров Пётр\",\"organization\":\"\"}";
    ListImport import;
    model.setKeyOrder(ParticipantListModel::RecordOrder);

    QVERIFY(import.openText(rows));
    QCOMPARE(import.rowCount(), 2);
    QCOMPARE(import.headers(), QStringList({"ФИО", "Класс", "Клуб"}));
    QCOMPARE(import.meanings(), QVariantList({FullName, Group, AsIs}));
    QCOMPARE(import.sample().size(), 2);
    import.cancel();
    QVERIFY(!import.ready());
    QCOMPARE(model.toJson(), before);

    // A failed open neither changes the list nor drops a reason.
    QVERIFY(!import.openText("\r\n\t\r\n"));
    QVERIFY(import.failure().contains("нет строк"));
    QVERIFY(!import.addTo(&model));
    QCOMPARE(model.toJson(), before);

    QVERIFY(import.openText(rows));
    import.setMeaning(2, Organization);
    QCOMPARE(import.meanings().at(2).toInt(), int(Organization));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY(import.addTo(&model));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(model.toJson(),
             QString(before).replace("}]", "},") +
                 QString(imported).replace("\"organization\":\"\",\"Клуб\":\"Школа\"",
                                           "\"organization\":\"Школа\"") +
                 "]");
    QVERIFY(!import.ready());

    QVERIFY(import.openText(rows));
    QVERIFY(import.replaceIn(&model));
    QCOMPARE(model.toJson(), "[" + imported + "]");
}

// Without a header every column is skipped: the preview opens with the rows to see and
// counts them once a column has a meaning.
void TestTableImport::headerlessPreviewCountsChosenColumns()
{
    ListImport import;
    QVERIFY2(import.openText("Иванов Иван\t5А\r\n\t\r\nПетров Пётр\t5Б\r\n"),
             qPrintable(import.failure()));
    QCOMPARE(import.meanings(), QVariantList({Skip, Skip}));
    QCOMPARE(import.sample().size(), 2);
    QCOMPARE(import.rowCount(), 0);
    QCOMPARE(import.problems(), QStringList());
    import.setMeaning(1, Group);
    QCOMPARE(import.rowCount(), 2);
    QCOMPARE(import.problems(), QStringList({"строка 1: нет имени", "строка 3: нет имени"}));
    import.setMeaning(0, FullName);
    QCOMPARE(import.problems(), QStringList());
    QCOMPARE(json(import.records()).join(','),
             QString("{\"group\":\"5А\",\"isGto\":false,\"name\":\"Иванов Иван\","
                     "\"organization\":\"\"},{\"group\":\"5Б\",\"isGto\":false,"
                     "\"name\":\"Петров Пётр\",\"organization\":\"\"}"));
}

// Another desk's list: every key comes along, repeats of the list's rows are marked, and
// exact ones are left out of an add unless the operator wants them.
void TestTableImport::participantListImportMarksRepeats()
{
    const QString a = "{\"gtoUuid\":\"1\",\"isGto\":true,\"name\":\"Иванов\",\"step\":\"6.0\"}";
    ParticipantListModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    QVERIFY(model.load("[" + a +
                       ",{\"group\":\"5А\",\"isGto\":false,\"name\":\"Петров\","
                       "\"pectoralNumber\":\"9\"}]"));
    QTemporaryDir dir;
    const QString path = dir.filePath("desk 2.json");
    QFile file(path);
    // The first record with its keys in another order; the second one's bib in another
    // group; a new one with a key of another tool.
    const QByteArray other = "\xEF\xBB\xBF [{\"name\":\"Иванов\",\"step\":\"6.0\",\"isGto\":true,"
                             "\"gtoUuid\":\"1\"},{\"group\":\"5Б\",\"isGto\":false,"
                             "\"name\":\"Петров\",\"pectoralNumber\":\"9\"},{\"name\":\"Сидоров\","
                             "\"pectoralNumber\":\"7\",\"paid\":true}]\n";
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(other) == other.size());
    file.close();

    ListImport import;
    import.setList(&model);
    QVERIFY2(import.openFile(path), qPrintable(import.failure()));
    QVERIFY(import.isList());
    QCOMPARE(import.headers(),
             QStringList({"name", "step", "isGto", "gtoUuid", "group", "pectoralNumber", "paid"}));
    QCOMPARE(import.sample().at(2).toStringList().at(6), QStringLiteral("true"));
    QCOMPARE(import.rowCount(), 3);
    QCOMPARE(import.gtoCount(), 1);
    QCOMPARE(import.repeatCount(), 2);
    QCOMPARE(import.exactRepeatCount(), 1);
    QCOMPARE(import.problems(), QStringList({"запись 1: уже в списке: запись 1, точный повтор",
                                             "запись 2: уже в списке: запись 2"}));
    QVERIFY(import.skipExactRepeats());
    QVERIFY(import.addTo(&model));
    QCOMPARE(model.toJson(),
             "[" + a +
                 ",{\"isGto\":false,\"name\":\"Петров\",\"group\":\"5А\",\"pectoralNumber\":"
                 "\"9\"},{\"isGto\":false,\"name\":\"Петров\",\"group\":\"5Б\","
                 "\"pectoralNumber\":\"9\"},{\"name\":\"Сидоров\",\"pectoralNumber\":\"7\","
                 "\"paid\":true}]");

    // Each is an exact repeat now; unchecked, they come along all the same.
    QVERIFY(import.openFile(path));
    QCOMPARE(import.exactRepeatCount(), 3);
    QCOMPARE(import.problems().at(2),
             QStringLiteral("запись 3: уже в списке: запись 4, точный повтор"));
    import.setSkipExactRepeats(false);
    QVERIFY(import.addTo(&model));
    QCOMPARE(model.rowCount(), 7);
    QVERIFY(import.openFile(path));
    QVERIFY(import.skipExactRepeats());
    QVERIFY(import.replaceIn(&model));
    QCOMPARE(model.rowCount(), 3);

    // A list that cannot be loaded is not imported either.
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("[{\"a\":1,\"a\":2}]") > 0);
    file.close();
    QVERIFY(!import.openFile(path));
    QCOMPARE(import.failure(), QStringLiteral("В записи 1 ключ «a» повторяется, строка 1"));
}

QTEST_GUILESS_MAIN(TestTableImport)
#include "tst_tableimport.moc"
