#include "codecs/celltext.h"
#include "listexporter.h"
#include "listimport.h"
#include "participantlistmodel.h"
#include "participantrules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// A list exported to a spreadsheet or a CSV file and imported again gives the records the
// creation page made: leading zeros, quotation marks, separators and formula-like texts
// survive the trip.
class TestExportImport : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void hostileValues();
};

void TestExportImport::roundTrip_data()
{
    QTest::addColumn<int>("format");
    QTest::newRow("Excel") << int(ListExporter::Excel);
    QTest::newRow("CSV") << int(ListExporter::Csv);
}

void TestExportImport::roundTrip()
{
    QFETCH(int, format);
    ParticipantListModel list;
    list.append(ParticipantRules::gtoRecord(
        {"07.03.2000", "Школа 5", "01234567890", "Иванова Мария", "Ж", "007", "КМС"}));
    list.append(ParticipantRules::gtoRecord(
        {"01.02.1980", "Клуб; \"Старт\"", "12345678901", "Петров Иван", "М", "", ""}));
    list.append(ParticipantRules::trainingRecord("5А", "Сидоров  Олег", "=Клуб"));
    const QString written = list.toJson();

    QTemporaryDir dir;
    const QString path = dir.filePath("list." + ListExporter::suffix(format));
    QCOMPARE(ListExporter().save(&list, format, QUrl::fromLocalFile(path), QString()), 0);

    ListImport import;
    QVERIFY2(import.openFile(path), qPrintable(import.failure()));
    QCOMPARE(import.rowCount(), 3);
    QCOMPARE(import.problems(), QStringList());
    ParticipantListModel imported;
    QVERIFY(import.addTo(&imported));
    QCOMPARE(imported.toJson(), written);
}

namespace {

// Values that hide a formula, that a sheet's XML cannot hold or would read otherwise, and
// that start with marks a reader might drop.
QStringList hostileTexts()
{
    // Every character XML 1.0 cannot hold that a list can.
    QString unheld = QStringLiteral("все:");
    for (ushort c = 0; c < 0x20; ++c) {
        if (c != '\t' && c != '\n' && c != '\r')
            unheld += QChar(c);
    }
    unheld += QChar(0xFFFE);
    unheld += QChar(0xFFFF);
    return {unheld,
            QString::fromUtf16(u"\u0000=HYPERLINK(\"http://x\")", 24),
            QString::fromUtf16(u"\uFEFF+1"),
            QString::fromUtf16(u"\u200B\u202E-2"),
            "'=1+2",
            "''x",
            "'",
            "@SUM(1)",
            "_x0041_BC",
            "_x0041_x0042_",
            "_x0041\rB",
            QString::fromUtf16(u"ab\u0000=cd", 6),
            QString::fromUtf16(u"a\uFFFEb\uFFFF"),
            QString::fromUtf16(u"\u0001\u0008\u000B\u000C\u001F конец"),
            QString::fromUtf16(u"\uFEFFЁлка")};
}

QJsonArray readBack(const QString &format, const QString &path)
{
    QProcess reader;
    reader.start("/usr/bin/python3", {READBACK_SCRIPT, format, path});
    if (!reader.waitForFinished(60000) || reader.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(reader.readAllStandardOutput())["rows"].toArray();
}

} // namespace

// Every value through each export: a CSV reader and openpyxl see it as written (an
// apostrophe before a text a spreadsheet would run; U+FFFD for what XML cannot hold), and
// our import brings back the value itself, as it trims any name.
void TestExportImport::hostileValues()
{
    const QStringList values = hostileTexts();
    ParticipantListModel list;
    for (const QString &value : values)
        list.append(ParticipantRules::trainingRecord("5А", value, "Клуб"));
    QTemporaryDir dir;
    ListExporter exporter;
    int replaced = 0;
    for (const int format : {ListExporter::Excel, ListExporter::Csv, ListExporter::Pdf}) {
        const QString path = dir.filePath("hostile." + ListExporter::suffix(format));
        QCOMPARE(exporter.save(&list, format, QUrl::fromLocalFile(path), QString()), 0);
        if (format == ListExporter::Excel)
            replaced = exporter.replacedCells();
        if (format == ListExporter::Pdf)
            continue;
        const QJsonArray rows = readBack(ListExporter::suffix(format), path);
        QCOMPARE(rows.size(), values.size() + 1);
        ListImport import;
        QVERIFY2(import.openFile(path), qPrintable(import.failure()));
        ParticipantListModel imported;
        QVERIFY(import.addTo(&imported));
        QCOMPARE(imported.rowCount(), values.size());
        for (int i = 0; i < values.size(); ++i) {
            QString sheet = values[i];
            if (format == ListExporter::Excel)
                CellText::replaceNonXml(sheet);
            const QString cell = rows[i + 1].toArray()[1].toString();
            if (format == ListExporter::Csv)
                QCOMPARE(cell, CellText::needsApostrophe(sheet) ? "'" + sheet : sheet);
            else if (!sheet.contains("_x")) // openpyxl shows escapes as they are spelled
                QCOMPARE(cell, "s:" + sheet);
            QCOMPARE(imported.data(imported.index(i), imported.roleNames().key("name")).toString(),
                     ParticipantRules::trimName(sheet));
        }
    }
    // The NUL in two values, the non-characters and the controls.
    QCOMPARE(replaced, 5);
}

QTEST_MAIN(TestExportImport)
#include "tst_exportimport.moc"
