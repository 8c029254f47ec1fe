#include "creationpage.h"
#include "editingpage.h"
#include "participantrules.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

// The pages' controllers: what they word, and what a load and a save leave behind.
class TestListPages : public QObject
{
    Q_OBJECT

private slots:
    void editingPage();
    void creationPageRepeats();
};

void TestListPages::editingPage()
{
    ParticipantListModel list;
    ListHistory history;
    history.setList(&list);
    ListFilterModel table;
    table.setList(&list);
    PageRecovery recovery;
    recovery.setModel(&list);
    recovery.setHistory(&history);
    EditingPage page;
    page.setList(&list);
    page.setTable(&table);
    page.setHistory(&history);
    page.setRecovery(&recovery);
    QSignalSpy status(&page, &EditingPage::statusTextChanged);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("список.json"));
    QVERIFY(!page.load(path));
    QVERIFY(
        list.load(R"([{"name":"Ива","gtoUuid":"1"},{"name":"Оля","gtoUuid":"1"},{"name":"Ян"}])"));
    QVERIFY(status.count() > 0);
    QCOMPARE(page.statusText(), QStringLiteral("Записей: 3. Повторов: 2"));
    table.setFilterText(QStringLiteral("ян"));
    QCOMPARE(page.statusText(), QStringLiteral("Записей: 3, показано 1. Повторов: 2"));
    // The current row's repeats follow, by the list's numbers; a row without any adds none.
    page.setCurrentRow(0);
    QCOMPARE(page.statusText(), QStringLiteral("Записей: 3, показано 1. Повторов: 2"));
    table.setFilterText(QString());
    page.setCurrentRow(1);
    QCOMPARE(page.statusText(),
             QStringLiteral("Записей: 3. Повторов: 2. Запись 2: Тот же УИН: запись 1"));
    page.setCurrentRow(-1);

    // A save makes the list clean and its file the list's; a load of it is a step.
    recovery.flush();
    QVERIFY(recovery.unsaved());
    QCOMPARE(page.save(path), 0);
    QCOMPARE(recovery.listPath(), path);
    QVERIFY(!recovery.unsaved());
    QVERIFY(list.remove(0));
    QVERIFY(page.load(path));
    QCOMPARE(list.rowCount(), 3);
    QCOMPARE(history.listPath(), path);
    QVERIFY(history.canUndo());
}

void TestListPages::creationPageRepeats()
{
    ParticipantListModel list;
    CreationPage page;
    page.setList(&list);
    QSignalSpy notice(&page, &CreationPage::repeatNoticeChanged);
    page.setGto(true);
    page.setGtoUuid(QStringLiteral("12345678901"));
    page.setPectoralNumber(QStringLiteral("7"));
    QCOMPARE(page.repeatNotice(), QString());

    list.append(ParticipantRules::gtoRecord(
        {"01.01.2010", "Школа", "12345678901", "Ива", "Ж", "8", ""}, QDate(2024, 1, 1)));
    QVERIFY(notice.count() >= 4);
    QCOMPARE(page.repeatNotice(), QStringLiteral("УИН уже есть в списке: запись 1"));
    page.setGtoUuid(QString());
    page.setPectoralNumber(QStringLiteral("8"));
    QCOMPARE(page.repeatNotice(), QStringLiteral("Нагрудный номер уже есть в списке: запись 1"));
    // Only a GTO entry has the numbers.
    page.setGto(false);
    QCOMPARE(page.repeatNotice(), QString());
}

QTEST_GUILESS_MAIN(TestListPages)
#include "tst_listpages.moc"
