#include "listexporter.h"
#include "listimport.h"
#include "participantlistmodel.h"
#include "participantrules.h"

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

QTEST_GUILESS_MAIN(TestExportImport)
#include "tst_exportimport.moc"
