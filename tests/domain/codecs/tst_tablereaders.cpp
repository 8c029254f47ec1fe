#include "codecs/delimitedtext.h"
#include "codecs/xlsxtable.h"
#include "importreader.h"
#include "listimport.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// The readers on tables that other programs wrote, made afresh by make_tables.py.
class TestTableReaders : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void delimitedText_data();
    void delimitedText();
    void chosenEncoding();
    void longCell_data();
    void longCell();
    void cellLimitStopsTheSplitting();
    void separatorTie();
    void workerReading();
    void clipboardRows();
    void workbooks_data();
    void workbooks();
    void longSheet();
    void hostileInput_data();
    void hostileInput();

private:
    QString fixture(const QString &name) const { return dir.filePath(name); }
    // One line a row: cells joined by " | ", numbers marked "#" and dates "@".
    static QStringList dump(const SourceTable &table)
    {
        QStringList lines;
        for (const SourceRow &row : table.rows) {
            QStringList cells;
            for (const SourceCell &cell : row.cells)
                cells << (cell.kind == SourceCell::Kind::Number ? "#"
                          : cell.kind == SourceCell::Kind::Date ? "@"
                                                                : "") +
                             cell.text;
            lines << cells.join(" | ");
        }
        return lines;
    }

    QTemporaryDir dir;
};

void TestTableReaders::initTestCase()
{
    QVERIFY(dir.isValid());
    QProcess writer;
    writer.start("/usr/bin/python3", {MAKE_TABLES, dir.path()});
    QVERIFY(writer.waitForFinished(120000));
    QVERIFY2(writer.exitStatus() == QProcess::NormalExit && writer.exitCode() == 0,
             writer.readAllStandardError().constData());
}

void TestTableReaders::delimitedText_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("encoding");
    for (const char *separator : {"semicolon", "comma", "tab"}) {
        // The file, and the encoding the reader finds.
        for (const auto &encoding : std::initializer_list<std::pair<const char *, const char *>>{
                 {"utf8", "UTF-8"},
                 {"utf8bom", "UTF-8"},
                 {"utf-16", "UTF-16"},
                 {"utf-16be", "UTF-16"},
                 {"windows-1251", "Windows-1251"},
                 {"koi8-r", "KOI8-R"},
                 {"cp866", "CP866"}}) {
            const QString name = QString("%1-%2.csv").arg(separator, encoding.first);
            QTest::newRow(qPrintable(name)) << name << encoding.second;
        }
    }
}

void TestTableReaders::delimitedText()
{
    QFETCH(QString, file);
    QFETCH(QString, encoding);
    QFile input(fixture(file));
    QVERIFY(input.open(QIODevice::ReadOnly));
    SourceTable table;
    QString reason;
    QVERIFY2(DelimitedText::read(input.readAll(), table, reason), qPrintable(reason));
    // The empty row stays, so that later rows keep their numbers.
    const QStringList expected = {
        "Ф.И.О. | Дата рождения | Школа | Примечание",
        "Иванов Иван | 7.3.2010 | Школа \"5\" | a;b,c\td",
        "Петрова Анна | 31/12/2011 | Лицей | две\nстроки",
        "",
        "Ёлкин Пётр | 2009-01-02 | Гимназия",
    };
    QCOMPARE(dump(table), expected);
    QCOMPARE(table.columnCount, 4);
    QCOMPARE(table.encoding, encoding);
}

// The operator's choice of another encoding reads the same bytes otherwise.
void TestTableReaders::chosenEncoding()
{
    QFile input(fixture("semicolon-koi8-r.csv"));
    QVERIFY(input.open(QIODevice::ReadOnly));
    SourceTable table;
    QString reason;
    QVERIFY(DelimitedText::read(input.readAll(), table, reason, "Windows-1251"));
    QCOMPARE(table.encoding, QString("Windows-1251"));
    // KOI8-R's capitals are Windows-1251's small letters.
    QCOMPARE(table.rows[0].cells[0].text, QString("ж.й.п."));
}

// A cell past what a sheet cell holds is cut there and named, in both kinds of file.
void TestTableReaders::longCell_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("workbook") << "longcell.xlsx";
    QTest::newRow("text") << "longcell.csv";
}

void TestTableReaders::longCell()
{
    QFETCH(QString, file);
    SourceTable table;
    QString reason;
    QVERIFY2(ImportReader::read(fixture(file), QString(), table, reason), qPrintable(reason));
    QCOMPARE(table.rows.at(1).cells.at(1).text, QString(32767, QChar(0x44F)));
    ListImport import;
    QVERIFY2(import.openFile(fixture(file)), qPrintable(import.failure()));
    QVERIFY(import.problems().contains("строка 2, столбец 2: текст обрезан до 32 767 знаков"));
}

// A reading on another thread ends in readFinished(); a cancelled one ends at once, opens
// nothing and never reports.
void TestTableReaders::workerReading()
{
    QFile big(dir.filePath("big.csv"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    const QByteArray rows =
        QByteArray("Фамилия;Имя\n") + QByteArray("Иванов;Иван\n").repeated(20000);
    for (int i = 0; i < 40; ++i)
        big.write(rows);
    big.close();

    ListImport import;
    QSignalSpy finished(&import, &ListImport::readFinished);
    import.startFile(big.fileName());
    QVERIFY(import.reading());
    import.cancelReading();
    QVERIFY(!import.reading());
    QTRY_VERIFY(import.findChildren<ImportReader *>().isEmpty());
    QVERIFY(!import.ready());
    QCOMPARE(finished.count(), 0);

    import.startFile(fixture("semicolon-cp866.csv"));
    QVERIFY(finished.wait(10000));
    QCOMPARE(finished.at(0).at(0).toBool(), true);
    QVERIFY(import.ready() && !import.reading());
    QCOMPARE(import.encoding(), QString("CP866"));
    // Read again as the operator chooses.
    import.rereadAs("KOI8-R");
    QVERIFY(finished.wait(10000));
    QCOMPARE(import.encoding(), QString("KOI8-R"));
}

// A text past the cell limit is split no further than the row that meets it.
void TestTableReaders::cellLimitStopsTheSplitting()
{
    QString text;
    for (int row = 0; row < 600000; ++row)
        text += "a;b;c\n";
    SourceTable table;
    QString reason;
    ReadControl control;
    QVERIFY(!DelimitedText::parse(text, ';', table, reason, &control));
    QCOMPARE(reason, SourceLimits::tooManyCellsText());
    // The splitting reports its place within 30 %..100 % of the reading.
    QVERIFY2(control.progress() < 300 + 700 * 0.85,
             qPrintable(QString::number(control.progress())));
}

// On a tie, a tab wins over the commas inside cells.
void TestTableReaders::separatorTie()
{
    QCOMPARE(DelimitedText::detectSeparator("a, b\tc\nd, e\tf\n"), QChar('\t'));
}

// A spreadsheet's copy: tabs between cells, quotes only around cells with line breaks.
void TestTableReaders::clipboardRows()
{
    SourceTable table;
    QString reason;
    QVERIFY(DelimitedText::parse("ФИО\tКласс\r\n\"Иванов\nИван\"\t5, \"А\"\r\n\tx\r\n", '\t', table,
                                 reason));
    QCOMPARE(dump(table), QStringList({"ФИО | Класс", "Иванов\nИван | 5, \"А\"", " | x"}));
}

void TestTableReaders::workbooks_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("rows");
    // Inline strings, merged cells of a two-level header, an empty column, a number kept
    // as text with its leading zero; the second sheet is not read.
    QTest::newRow("openpyxl")
        << "openpyxl.xlsx"
        << QStringList{"Участник | Участник | Участник | Дата рождения |  | УИН | "
                       "Номер | Пол",
                       "Фамилия | Имя | Отчество | Дата рождения",
                       "Иванов | Иван | Иванович | @07.03.2010 |  | 01234567890 | "
                       "#17 | муж",
                       "Петрова | Анна |  | @31.12.2011 |  | #12345678901 | #5.5 | Ж"};
    // Shared and rich strings, the 1904 date system, a boolean, a formula's text, and a
    // day number without a date style, which stays a number.
    // The built-in short date, which most workbooks' dates carry.
    QTest::newRow("format 14") << "numfmt14.xlsx"
                               << QStringList{"ДР | Номер", "@07.03.2010 | #40244"};
    QTest::newRow("XlsxWriter") << "xlsxwriter.xlsx"
                                << QStringList{"ФИО | ДР | Класс | Сдал",
                                               "Сидоров Семён | @07.03.2010 | 5А | ИСТИНА",
                                               "ФИО | #40244 | 5Б"};
}

void TestTableReaders::workbooks()
{
    QFETCH(QString, file);
    QFETCH(QStringList, rows);
    SourceTable table;
    QString reason;
    QVERIFY2(XlsxTable::read(fixture(file), table, reason), qPrintable(reason));
    QCOMPARE(dump(table), rows);
}

void TestTableReaders::longSheet()
{
    SourceTable table;
    QString reason;
    QVERIFY2(XlsxTable::read(fixture("long.xlsx"), table, reason), qPrintable(reason));
    const QStringList rows = dump(table);
    QCOMPARE(rows.size(), 3001);
    QCOMPARE(rows.last(), QString("Участник номер 3000 | #3000"));
}

void TestTableReaders::hostileInput_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    // Megabytes the probe may take beyond what it holds at the start; 0 for its usual cap.
    QTest::addColumn<int>("headroom");
    QTest::newRow("empty workbook") << "empty.xlsx"
                                    << "файл пуст" << 0;
    QTest::newRow("empty text") << "empty.csv"
                                << "файл пуст" << 0;
    QTest::newRow("picture as text") << "picture.csv"
                                     << "это не таблица" << 0;
    QTest::newRow("picture as workbook") << "picture.xlsx"
                                         << "это не таблица" << 0;
    QTest::newRow("zip without a workbook") << "other.xlsx"
                                            << "это не таблица" << 0;
    QTest::newRow("cut off") << "truncated.xlsx"
                             << "файл повреждён" << 0;
    QTest::newRow("scrambled data") << "corrupt.xlsx"
                                    << "файл повреждён" << 0;
    QTest::newRow("password") << "encrypted.xlsx"
                              << "файл зашифрован" << 0;
    QTest::newRow("unpacks beyond 200 MB") << "bomb.xlsx"
                                           << "больше 200 МБ" << 0;
    QTest::newRow("stated extent") << "dimension.xlsx"
                                   << "больше 1 000 000 ячеек" << 0;
    QTest::newRow("two far cells") << "sparse.xlsx"
                                   << "больше 1 000 000 ячеек" << 0;
    QTest::newRow("merges filling billions of cells") << "merges.xlsx"
                                                      << "больше 1 000 000 ячеек" << 0;
    QTest::newRow("a million merges of one cell") << "onecellmerges.xlsx"
                                                  << "больше 1 000 000 ячеек" << 0;
    QTest::newRow("elements nested a million deep") << "deep.xlsx"
                                                    << "файл повреждён" << 0;
    QTest::newRow("text of a million cells") << "cells.csv"
                                             << "больше 1 000 000 ячеек" << 0;
    QTest::newRow("a row of separators") << "separators.csv"
                                         << "нет строк" << 0;
    QTest::newRow("a row of separators, then a value") << "wide.csv"
                                                       << "больше 256 столбцов" << 0;
    QTest::newRow("text beyond the memory left") << "separators.csv"
                                                 << "не хватает памяти" << 150;
    QTest::newRow("a shared string past the count") << "stringindex.xlsx"
                                                    << "файл повреждён" << 0;
    QTest::newRow("a column of sixteen letters") << "letters.xlsx"
                                                 << "файл повреждён" << 0;
    // Read whole, the cell cut, within a memory that would not hold it.
    QTest::newRow("a cell of 50 million characters") << "hugecell.xlsx"
                                                     << "" << 100;
    QTest::newRow("nested entities") << "laughs.xlsx"
                                     << "XML (DTD)" << 0;
    QTest::newRow("external entity") << "external.xlsx"
                                     << "XML (DTD)" << 0;
}

// Each in a child process with capped memory and time.
void TestTableReaders::hostileInput()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    QFETCH(int, headroom);
    QProcess probe;
    QStringList arguments{fixture(file)};
    if (headroom > 0)
        arguments << QString::number(headroom);
    probe.start(IMPORT_PROBE, arguments);
    QVERIFY(probe.waitForFinished(60000));
    QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
    QCOMPARE(probe.exitCode(), 0);
    const QString out = QString::fromUtf8(probe.readAllStandardOutput());
    if (reason.isEmpty())
        QVERIFY2(out.startsWith("ok "), qPrintable(out));
    else
        QVERIFY2(out.startsWith("refused: ") && out.contains(reason, Qt::CaseInsensitive),
                 qPrintable(out));
}

QTEST_GUILESS_MAIN(TestTableReaders)
#include "tst_tablereaders.moc"
