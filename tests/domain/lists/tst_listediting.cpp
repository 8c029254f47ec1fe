#include "listfiltermodel.h"
#include "listhistory.h"
#include "participantrules.h"

#include <QAbstractItemModelTester>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The editing table's sort, find, repeats and history, on the list model as the page uses
// them; every model checked by Qt's model tester throughout.
class TestListEditing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void sortOrder_data();
    void sortOrder();
    void filterMapsToTheRightRows();
    void filterThroughSortAndRepeats();
    void duplicates();
    void undoAndRedo_data();
    void undoAndRedo();
    void changesPastTheHistoryEmptyIt();

private:
    void loadValues(const QString &key, const QStringList &values);
    QStringList column(const QString &key) const;

    std::unique_ptr<ParticipantListModel> model;
    std::unique_ptr<ListFilterModel> filter;
    std::unique_ptr<ListHistory> history;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};

namespace {

const QString list = QStringLiteral(
    R"([{"birthDate":"07.03.2000","gtoUuid":"12345678901","isGto":true,"name":"Иванова Мария","step":"6.0"},)"
    R"({"isGto":false,"name":"Петров Семён","group":"5А","organization":"Клуб"},)"
    R"({"birthDate":"1.2.1980","isGto":true,"name":"Артем Иван","step":"8.1","pectoralNumber":17},)"
    R"({"name":"Сидоров","athleticRank":"КМС"}])");

} // namespace

void TestListEditing::init()
{
    testers.clear();
    history.reset();
    filter.reset();
    model = std::make_unique<ParticipantListModel>();
    filter = std::make_unique<ListFilterModel>();
    filter->setList(model.get());
    history = std::make_unique<ListHistory>();
    history->setList(model.get());
    for (QAbstractItemModel *tested : {static_cast<QAbstractItemModel *>(model.get()),
                                       static_cast<QAbstractItemModel *>(filter.get())})
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            tested, QAbstractItemModelTester::FailureReportingMode::QtTest));
}

void TestListEditing::loadValues(const QString &key, const QStringList &values)
{
    QJsonArray rows;
    for (int i = 0; i < values.size(); ++i) {
        QJsonObject row{{QStringLiteral("i"), i}};
        if (values[i] != QLatin1String("-"))
            row.insert(key, values[i]);
        rows.append(row);
    }
    QVERIFY(history->load(QString::fromUtf8(QJsonDocument(rows).toJson(QJsonDocument::Compact))));
}

QStringList TestListEditing::column(const QString &key) const
{
    const int role = model->roleNames().key(key.toUtf8(), -1);
    QStringList values;
    for (int row = 0; row < filter->rowCount(); ++row) {
        const QVariant value = filter->data(filter->index(row), role);
        values.append(value.isValid() ? value.toString() : QStringLiteral("-"));
    }
    return values;
}

void TestListEditing::sortOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("descending");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QStringList>("sorted");

    // "иванов" and "Иванов" are equal to the sort: they keep their order both ways.
    const QStringList names{"Яковлев", "-", "ёлкин", "Борисов", "Елизаров", "иванов", "Иванов"};
    QTest::newRow("names") << "name" << false << names
                           << QStringList{"Борисов", "Елизаров", "ёлкин", "иванов",
                                          "Иванов",  "Яковлев",  "-"};
    QTest::newRow("names back") << "name" << true << names
                                << QStringList{"Яковлев",  "иванов",  "Иванов", "ёлкин",
                                               "Елизаров", "Борисов", "-"};
    QTest::newRow("dates") << "birthDate" << false
                           << QStringList{"01.02.2001", "31.02.2000", "15.01.1999", "7.3.2000", ""}
                           << QStringList{"15.01.1999", "7.3.2000", "01.02.2001", "31.02.2000", ""};
    QTest::newRow("bibs") << "pectoralNumber" << false
                          << QStringList{"10", "9", "б/н", "100", "", "2", "А1"}
                          << QStringList{"2", "9", "10", "100", "А1", "б/н", ""};
    QTest::newRow("bibs with nan")
        << "pectoralNumber" << false << QStringList{"5", "nan", "3", "1", "7", "2", "4"}
        << QStringList{"1", "2", "3", "4", "5", "7", "nan"};
    QTest::newRow("steps back") << "step" << true << QStringList{"8.1", "6.0", "9.2", "6", "10"}
                                << QStringList{"10", "9.2", "8.1", "6.0", "6"};
}

void TestListEditing::sortOrder()
{
    QFETCH(QString, key);
    QFETCH(bool, descending);
    QFETCH(QStringList, values);
    QFETCH(QStringList, sorted);
    loadValues(key, values);
    QVERIFY(history->sort(key, descending));
    QCOMPARE(column(key), sorted);
    QCOMPARE(history->sortKey(), key);
    QCOMPARE(history->sortDescending(), descending);
    // The saved list follows the order shown.
    const QJsonArray saved = QJsonDocument::fromJson(model->toJson().toUtf8()).array();
    QCOMPARE(saved.first().toObject().value("i").toInt(), values.indexOf(sorted.first()));
}

void TestListEditing::filterMapsToTheRightRows()
{
    QVERIFY(history->load(list));
    // Case and "ё"/"е" aside, in any column, as shown: the step 6.0 shows as 6.
    const QList<QPair<QString, QStringList>> finds{
        {"ИВАН", {"Иванова Мария", "Артем Иван"}},
        {"семен", {"Петров Семён"}},
        {"артём", {"Артем Иван"}},
        {"кмс", {"Сидоров"}},
        {"17", {"Артем Иван"}},
        {"6", {"Иванова Мария"}},
        {"6.0", {}},
        {"", {"Иванова Мария", "Петров Семён", "Артем Иван", "Сидоров"}}};
    for (const auto &find : finds) {
        filter->setFilterText(find.first);
        QCOMPARE(column(QStringLiteral("name")), find.second);
        QCOMPARE(filter->count(), find.second.size());
    }

    filter->setFilterText(QStringLiteral("иван"));
    QCOMPARE(filter->sourceRow(1), 2);
    QVERIFY(history->editCell(filter->sourceRow(1), QStringLiteral("name"), QStringLiteral("Нов")));
    // The edited row stays in sight until the find text changes.
    QCOMPARE(column(QStringLiteral("name")), (QStringList{"Иванова Мария", "Нов"}));
    QVERIFY(history->remove(filter->sourceRow(0)));
    QCOMPARE(column(QStringLiteral("name")), QStringList{"Нов"});
    QCOMPARE(filter->rowOf(1), 0);
    // Rows put back show again where they belong.
    QVERIFY(history->undo());
    QCOMPARE(column(QStringLiteral("name")), (QStringList{"Иванова Мария", "Нов"}));
    QVERIFY(history->redo());
    QCOMPARE(
        model->toJson(),
        QStringLiteral(
            R"([{"isGto":false,"name":"Петров Семён","group":"5А","organization":"Клуб"},)"
            R"({"birthDate":"1.2.1980","isGto":true,"name":"Нов","step":"8.1","pectoralNumber":17},)"
            R"({"name":"Сидоров","athleticRank":"КМС"}])"));
}

void TestListEditing::filterThroughSortAndRepeats()
{
    QVERIFY(history->load(QStringLiteral(
        R"([{"name":"Яна","gtoUuid":"1"},{"name":"Оля","gtoUuid":"1"},{"name":"Ян"},)"
        R"({"name":"Петя"},{"name":"Янис"}])")));
    const auto note = [this](int row) {
        return filter->data(filter->index(row), ListFilterModel::DuplicatesRole)
            .toMap()
            .value(QStringLiteral("gtoUuid"))
            .toString();
    };
    filter->setFilterText(QStringLiteral("ян"));

    // A sort picks the rows again, in the list's new order, and the notes follow it.
    QVERIFY(
        history->editCell(filter->sourceRow(1), QStringLiteral("name"), QStringLiteral("Пётр")));
    // Views keep their rows through a reorder only when no row drops out on the way.
    qRegisterMetaType<QAbstractItemModel::LayoutChangeHint>();
    QSignalSpy reordered(filter.get(), &QAbstractItemModel::layoutChanged);
    const auto hint = [&reordered] {
        return reordered.takeLast().at(1).value<QAbstractItemModel::LayoutChangeHint>();
    };
    QVERIFY(history->sortBy(QStringLiteral("name")));
    QCOMPARE(reordered.count(), 1);
    QCOMPARE(hint(), QAbstractItemModel::NoLayoutChangeHint);
    QCOMPARE(column(QStringLiteral("name")), (QStringList{"Яна", "Янис"}));
    QCOMPARE(note(0), QStringLiteral("Тот же УИН: запись 1"));
    QVERIFY(history->undo());
    QCOMPARE(reordered.count(), 1);
    QCOMPARE(hint(), QAbstractItemModel::VerticalSortHint);
    QCOMPARE(note(0), QStringLiteral("Тот же УИН: запись 2"));
}

void TestListEditing::duplicates()
{
    QVERIFY(history->load(QStringLiteral(
        R"([{"name":"Ёлкина Анна","birthDate":"07.03.2000","gtoUuid":"111","pectoralNumber":"5"},)"
        R"({"name":"Петров","birthDate":"07.03.2000","gtoUuid":"222","pectoralNumber":" 5\u00a0"},)"
        R"({"name":"елкина  анна","birthDate":"7.3.2000","gtoUuid":"111"},)"
        R"({"name":"Петров","group":"5А"},{"name":"Петров","group":"5Б"},)"
        R"({"name":"Сидоров","gtoUuid":"","pectoralNumber":""},{"name":"Орлов","gtoUuid":""}])")));
    const auto notes = [this](int row) {
        return filter->data(filter->index(row), ListFilterModel::DuplicatesRole).toMap();
    };
    QCOMPARE(filter->duplicateCount(), 3);
    QCOMPARE(notes(0).value("gtoUuid").toString(), QStringLiteral("Тот же УИН: запись 3"));
    QCOMPARE(notes(0).value("pectoralNumber").toString(),
             QStringLiteral("Тот же нагрудный номер: запись 2"));
    QCOMPARE(notes(2).value("name").toString(),
             QStringLiteral("То же имя и дата рождения: запись 1"));
    QCOMPARE(notes(2).value("birthDate"), notes(2).value("name"));
    QVERIFY(!notes(1).contains("name"));
    for (int row = 3; row < 7; ++row)
        QVERIFY2(notes(row).isEmpty(), qPrintable(QString::number(row)));

    // Repeats follow the rows: a delete renumbers them, an edit ends one.
    QSignalSpy counted(filter.get(), &ListFilterModel::duplicateCountChanged);
    QVERIFY(history->remove(1));
    QCOMPARE(notes(0).value("gtoUuid").toString(), QStringLiteral("Тот же УИН: запись 2"));
    QCOMPARE(filter->duplicateCount(), 2);
    QVERIFY(history->editCell(1, QStringLiteral("gtoUuid"), QStringLiteral("333")));
    QVERIFY(history->editCell(1, QStringLiteral("birthDate"), QStringLiteral("08.03.2000")));
    QCOMPARE(filter->duplicateCount(), 0);
    QCOMPARE(counted.count(), 2);

    // The creation page's question: which rows already have this number.
    QCOMPARE(model->rowsWith("gtoUuid", " 111"), (QVariantList{0}));
    QCOMPARE(model->rowsWith("name", QStringLiteral("Петров")), (QVariantList{2, 3}));
    QCOMPARE(model->rowsWith("gtoUuid", ""), QVariantList());

    // A view hears of the notes that a delete ends, also on rows below the deleted one.
    QVERIFY(history->load(QStringLiteral(
        R"([{"name":"X"},{"name":"B","gtoUuid":"1"},{"name":"Y"},{"name":"C","gtoUuid":"1"}])")));
    QSignalSpy changed(filter.get(), &QAbstractItemModel::dataChanged);
    QVERIFY(history->remove(1));
    QVERIFY(notes(2).isEmpty());
    const bool told =
        std::any_of(changed.cbegin(), changed.cend(), [](const QList<QVariant> &args) {
            return args[0].toModelIndex().row() <= 2 && args[1].toModelIndex().row() >= 2;
        });
    QVERIFY(told);
}

void TestListEditing::undoAndRedo_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("after");
    const QString bytes = list;
    QString edited = bytes;
    edited
        .replace(R"("07.03.2000")", QStringLiteral("\"%1\"").arg(
                                        QDate::currentDate().addYears(-35).toString("dd.MM.yyyy")))
        .replace(R"("step":"6.0")", R"("step":"7")");
    QTest::newRow("birth date edit and its step") << 0 << edited;
    QTest::newRow("edit adding a key")
        << 1 << QString(bytes).replace(R"("КМС"})", R"("КМС","sex":"М"})");
    QTest::newRow("delete") << 2
                            << QString(bytes).replace(
                                   QRegularExpression(R"(\{"isGto":false[^}]*\},)"), "");
    QTest::newRow("sort") << 3 << QString();
    QTest::newRow("load") << 4 << QStringLiteral("[{\"name\":\"Другой\"}]");
}

void TestListEditing::undoAndRedo()
{
    QFETCH(int, kind);
    QFETCH(QString, after);
    QVERIFY(history->load(list));
    const QString loaded = model->toJson();
    QCOMPARE(loaded, list);
    QVERIFY(history->canUndo());
    history->forget();
    QVERIFY(!history->canUndo());

    switch (kind) {
    case 0:
        QVERIFY(history->editCell(0, "birthDate",
                                  QDate::currentDate().addYears(-35).toString("dd.MM.yyyy")));
        break;
    case 1:
        QVERIFY(history->editCell(3, "sex", QStringLiteral("М")));
        // Leaving a cell as it was is no step.
        QVERIFY(history->editCell(3, "sex", QStringLiteral("М")));
        break;
    case 2:
        QVERIFY(history->remove(1));
        break;
    case 3:
        QVERIFY(history->sortBy("name"));
        QVERIFY(history->sortBy("name"));
        after = model->toJson();
        QCOMPARE(column("name").first(), QStringLiteral("Сидоров"));
        QVERIFY(history->undo());
        QCOMPARE(history->sortKey(), QStringLiteral("name"));
        QCOMPARE(history->sortDescending(), false);
        QVERIFY(history->redo());
        break;
    case 4:
        QVERIFY(history->load(after));
        QVERIFY(!history->load(QStringLiteral("{}")));
        break;
    }
    QCOMPARE(model->toJson(), after);
    QVERIFY(history->canUndo());
    QVERIFY(!history->canRedo());
    while (history->undo()) {
    }
    // Back to the loaded bytes, and again forward to the changed ones.
    QCOMPARE(model->toJson(), loaded);
    QVERIFY(history->sortKey().isEmpty());
    QVERIFY(history->canRedo());
    while (history->redo()) {
    }
    QCOMPARE(model->toJson(), after);
    // A new step drops what could have been redone.
    QVERIFY(history->undo());
    QVERIFY(history->remove(0));
    QVERIFY(!history->canRedo());
}

void TestListEditing::changesPastTheHistoryEmptyIt()
{
    QVERIFY(history->load(list));
    QVERIFY(history->remove(0));
    QVERIFY(history->canUndo());
    // A save reads the rows and changes nothing.
    QTemporaryDir dir;
    QCOMPARE(model->saveFile(dir.filePath(QStringLiteral("saved.json"))), 0);
    QVERIFY(history->canUndo());

    // An import past the history: its rows come and go as one step, and a restore's too.
    model->appendRecords({ParticipantRules::trainingRecord("5А", "Новый", "Клуб"),
                          ParticipantRules::trainingRecord("5Б", "Второй", "Клуб")});
    QCOMPARE(model->rowCount(), 5);
    QVERIFY(history->undo());
    QCOMPARE(model->rowCount(), 3);
    QVERIFY(history->redo());
    model->replaceRecords({ParticipantRules::trainingRecord("5А", "Один", "Клуб")});
    QCOMPARE(model->rowCount(), 1);
    QVERIFY(history->undo());
    QCOMPARE(model->rowCount(), 5);
    QVERIFY(history->redo());

    model->remove(0);
    QVERIFY(!history->canUndo());
    QVERIFY(!history->canRedo());
}

QTEST_GUILESS_MAIN(TestListEditing)
#include "tst_listediting.moc"
