#include "codecs/listjson.h"
#include "participantrules.h"

#include <QtTest>
#include <cmath>

class TestParticipantRules : public QObject
{
    Q_OBJECT

private slots:
    void trimName_data();
    void trimName();
    void ageFromDate_data();
    void ageFromDate();
    void ageCountsToToday();
    void stepFromAge_data();
    void stepFromAge();
    void stepTexts();
    void shownStep_data();
    void shownStep();
    void recordCountText();
    void records_data();
    void records();
    void entryComplete();
    void importedValues();
};

void TestParticipantRules::trimName_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("result");
    QTest::newRow("plain") << "Иванов Иван"
                           << "Иванов Иван";
    QTest::newRow("ends trimmed") << "  Иванов  "
                                  << "Иванов";
    QTest::newRow("four spaces inside") << "a    b"
                                        << "a b";
    QTest::newRow("several runs") << " a  b   c  "
                                  << "a b c";
    QTest::newRow("tab inside kept") << "a\t  b"
                                     << "a\t b";
    QTest::newRow("white space at ends trimmed")
        << QStringLiteral("\t\u00a0\ufeffa b\u2028\u3000\n") << "a b";
    QTest::newRow("no-break space inside kept") << QStringLiteral("a\u00a0 b") << "a\u00a0 b";
    QTest::newRow("only spaces") << "   "
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestParticipantRules::trimName()
{
    QFETCH(QString, value);
    QFETCH(QString, result);
    QCOMPARE(ParticipantRules::trimName(value), result);
}

void TestParticipantRules::ageFromDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("age");
    QTest::newRow("on the birthday") << "07.03.2000" << 26;
    QTest::newRow("the day before the birthday") << "08.03.2000" << 25;
    QTest::newRow("month after") << "01.04.2000" << 25;
    QTest::newRow("earlier month") << "28.02.2000" << 26;
    QTest::newRow("one-digit day and month") << "7.3.2000" << 26;
    QTest::newRow("29 February of a leap year") << "29.02.2000" << 26;
    QTest::newRow("29 February of a common year") << "29.02.2001" << 0;
    QTest::newRow("29 February 1900") << "29.02.1900" << 0;
    QTest::newRow("31 April") << "31.04.2000" << 0;
    QTest::newRow("day 00") << "00.03.2000" << 0;
    QTest::newRow("month 00") << "07.00.2000" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("month 13") << "07.13.2000" << 0;
    QTest::newRow("year 0000") << "07.03.0000" << 0;
    QTest::newRow("two-digit year") << "07.03.00" << 0;
    QTest::newRow("five-digit year") << "07.03.20000" << 0;
    QTest::newRow("two dots alone") << ".." << 0;
    QTest::newRow("half typed") << "07.0." << 0;
    QTest::newRow("words") << "вчера" << 0;
    QTest::newRow("slashes") << "07/03/2000" << 0;
    QTest::newRow("line feed after") << "07.03.2000\n" << 0;
    QTest::newRow("other digits") << QStringLiteral("07.03.２０００") << 0;
    QTest::newRow("sign") << "+7.03.2000" << 0;
    QTest::newRow("year 1900") << "01.01.1900" << 126;
    QTest::newRow("five years back") << "07.03.2021" << 5;
    QTest::newRow("tomorrow") << "08.03.2026" << -1;
    QTest::newRow("next year") << "07.03.2027" << -1;
}

// Pinned to 7 March 2026.
void TestParticipantRules::ageFromDate()
{
    QFETCH(QString, text);
    QFETCH(int, age);
    QCOMPARE(ParticipantRules::ageFromDate(text, QDate(2026, 3, 7)), age);
}

void TestParticipantRules::ageCountsToToday()
{
    const QDate birthday = QDate::currentDate().addYears(-20);
    QCOMPARE(ParticipantRules::ageFromDate(birthday.toString(QStringLiteral("d.M.yyyy"))), 20);
    QCOMPARE(
        ParticipantRules::ageFromDate(birthday.addDays(1).toString(QStringLiteral("dd.MM.yyyy"))),
        19);
}

void TestParticipantRules::stepFromAge_data()
{
    QTest::addColumn<double>("age");
    QTest::addColumn<double>("step");
    const double nan = std::nan("");
    const QList<QPair<double, double>> cases = {
        {-1, 3},   {0, 3},    {10, 3},   {11, 3},   {12, 3},   {12.5, 3},  {13, 4},   {15, 4},
        {16, 5},   {17, 5},   {18, 6},   {29, 6},   {30, 7},   {39, 7},    {40, 8.1}, {44, 8.1},
        {45, 8.2}, {49, 8.2}, {50, 9.1}, {54, 9.1}, {55, 9.2}, {100, 9.2}, {nan, 3}};
    for (const auto &c : cases)
        QTest::newRow(qPrintable(QString::number(c.first))) << c.first << c.second;
}

void TestParticipantRules::stepFromAge()
{
    QFETCH(double, age);
    QFETCH(double, step);
    QCOMPARE(ParticipantRules::stepFromAge(age), step);
}

void TestParticipantRules::stepTexts()
{
    const QStringList stored = {"3.0", "4.0", "5.0", "6.0", "7.0", "8.1", "8.2", "9.1", "9.2"};
    const QStringList plain = {"3", "4", "5", "6", "7", "8.1", "8.2", "9.1", "9.2"};
    const int ages[] = {11, 13, 16, 18, 30, 40, 45, 50, 55};
    for (int i = 0; i < 9; ++i) {
        const double step = ParticipantRules::stepFromAge(ages[i]);
        QCOMPARE(ParticipantRules::stepText(step), stored[i]);
        QCOMPARE(ParticipantRules::plainStepText(step), plain[i]);
    }
    const QDate today(2026, 3, 7);
    QCOMPARE(ParticipantRules::stepTextForBirthDate("07.03.1984", today), QString("8.1"));
    QCOMPARE(ParticipantRules::stepTextForBirthDate("31.02.2000", today), QString("3"));
    QCOMPARE(ParticipantRules::stepTextForBirthDate("yesterday", today), QString("3"));
}

void TestParticipantRules::shownStep_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("shown");
    QTest::newRow("6.0") << QVariant("6.0") << "6";
    QTest::newRow("number text") << QVariant("7") << "7";
    QTest::newRow("7.6 rounds up") << QVariant("7.6") << "8";
    QTest::newRow("7.5 rounds up") << QVariant("7.5") << "8";
    QTest::newRow("8.2 as stored") << QVariant("8.2") << "8.2";
    QTest::newRow("8.0 as stored") << QVariant("8.0") << "8.0";
    QTest::newRow("empty text") << QVariant("") << "0";
    QTest::newRow("spaces around") << QVariant(" 6.0\t") << "6";
    QTest::newRow("exponent") << QVariant("6e0") << "6";
    QTest::newRow("hexadecimal") << QVariant("0x7") << "7";
    QTest::newRow("negative") << QVariant("-0.4") << "-0";
    QTest::newRow("minus infinity") << QVariant("-Infinity") << "-Infinity";
    QTest::newRow("comma") << QVariant("6,0") << "6,0";
    QTest::newRow("text") << QVariant("нет") << "нет";
    QTest::newRow("array text") << QVariant("[6]") << "[6]";
    QTest::newRow("boolean") << QVariant(true) << "true";
    QTest::newRow("null") << QVariant::fromValue(nullptr) << "";
    QTest::newRow("missing") << QVariant() << "";
}

void TestParticipantRules::shownStep()
{
    QFETCH(QVariant, value);
    QFETCH(QString, shown);
    QCOMPARE(ParticipantRules::shownStep(value), shown);
}

void TestParticipantRules::recordCountText()
{
    const std::pair<int, const char *> cases[] = {{1, "1 запись"},     {5, "5 записей"},
                                                  {12, "12 записей"},  {21, "21 запись"},
                                                  {104, "104 записи"}, {111, "111 записей"}};
    for (const auto &[count, text] : cases)
        QCOMPARE(ParticipantRules::recordCountText(count), QString::fromUtf8(text));
}

void TestParticipantRules::records_data()
{
    QTest::addColumn<QVariantMap>("form");
    QTest::addColumn<bool>("gto");
    QTest::addColumn<QString>("json");
    const QVariantMap form{{"birthDate", "07.03.1979"}, {"organization", "  Школа   5 "},
                           {"group", " 5А "},           {"gtoUuid", "12345678901"},
                           {"name", "Иванов  Пётр"},    {"sex", "М"},
                           {"pectoralNumber", ""},      {"athleticRank", ""}};
    const QString gto = "{\"birthDate\":\"07.03.1979\",\"group\":\"Школа 5\",\"gtoUuid\":"
                        "\"12345678901\",\"isGto\":true,\"name\":\"Иванов Пётр\","
                        "\"organization\":\"Школа 5\",\"sex\":\"М\",\"step\":\"8.2\"";
    QTest::newRow("GTO, eight keys") << form << true << gto + "}";
    QVariantMap full = form;
    full["pectoralNumber"] = " 17";
    full["athleticRank"] = "КМС ";
    QTest::newRow("GTO, ten keys, extras untrimmed")
        << full << true << gto + ",\"pectoralNumber\":\" 17\",\"athleticRank\":\"КМС \"}";
    QVariantMap rankOnly = form;
    rankOnly["athleticRank"] = "1";
    QTest::newRow("GTO, rank only") << rankOnly << true << gto + ",\"athleticRank\":\"1\"}";
    QVariantMap noDate = form;
    noDate["birthDate"] = "..";
    QTest::newRow("GTO, no date: step 3.0")
        << noDate << true << QString(gto).replace("07.03.1979", "..").replace("8.2", "3.0") + "}";
    QTest::newRow("training") << form << false
                              << "{\"group\":\"5А\",\"isGto\":false,\"name\":\"Иванов Пётр\","
                                 "\"organization\":\"Школа 5\"}";
}

// The builders give the key orders of the list file, whatever order the form was in.
void TestParticipantRules::records()
{
    QFETCH(QVariantMap, form);
    QFETCH(bool, gto);
    QFETCH(QString, json);
    const QDate today(2026, 3, 7);
    const auto text = [&form](const char *key) { return form.value(key).toString(); };
    const ParticipantRecord record =
        gto ? ParticipantRules::gtoRecord({text("birthDate"), text("organization"), text("gtoUuid"),
                                           text("name"), text("sex"), text("pectoralNumber"),
                                           text("athleticRank")},
                                          today)
            : ParticipantRules::trainingRecord(text("group"), text("name"), text("organization"));
    QCOMPARE(QString::fromStdString(ListJson::write(record)), json);
    // The map form the pages use builds the same record.
    const QVariant viaMap =
        gto ? ParticipantRules::gtoRecord(form) : ParticipantRules::trainingRecord(form);
    if (gto && text("birthDate") != "..") {
        // Its step counts to the real today, so compare all but the step.
        ParticipantRecord expected = record;
        expected.set("step", *viaMap.value<ParticipantRecord>().value("step"));
        QCOMPARE(viaMap.value<ParticipantRecord>(), expected);
    } else {
        QCOMPARE(viaMap.value<ParticipantRecord>(), record);
    }
}

void TestParticipantRules::entryComplete()
{
    QVariantMap gto{{"birthDate", "07.03.2021"},
                    {"organization", "Club"},
                    {"name", "Anna"},
                    {"gtoUuid", "12345678901"},
                    {"sex", "Ж"}};
    // Any age above 0 suffices, even below the frame's minimum.
    QVERIFY(ParticipantRules::gtoEntryComplete(gto));
    const QList<QPair<const char *, QString>> spoilers = {{"birthDate", ".."},
                                                          {"birthDate", "31.02.2000"},
                                                          {"organization", "   "},
                                                          {"name", ""},
                                                          {"gtoUuid", "1234567890"},
                                                          {"gtoUuid", "1234567890a"},
                                                          {"sex", "Пол"},
                                                          {"sex", ""}};
    for (const auto &spoiler : spoilers) {
        QVariantMap form = gto;
        form[spoiler.first] = spoiler.second;
        QVERIFY2(!ParticipantRules::gtoEntryComplete(form), spoiler.first);
    }
    QVariantMap training{{"organization", "Club"}, {"name", "Anna"}, {"group", "5A"}};
    QVERIFY(ParticipantRules::trainingEntryComplete(training));
    training["group"] = "  ";
    QVERIFY(!ParticipantRules::trainingEntryComplete(training));
}

// How other lists write a sex, an identification number and a date.
void TestParticipantRules::importedValues()
{
    const QList<QPair<QString, QString>> sexes = {
        {"м", "М"},    {" Муж. ", "М"}, {"мужской", "М"}, {"M", "М"}, {"М", "М"},
        {"male", "М"}, {"ж", "Ж"},      {"ЖЕН", "Ж"},     {"f", "Ж"}, {"Женский", "Ж"},
        {"", ""},      {"мж", ""},      {"x", ""},        {"2", ""}};
    for (const auto &sex : sexes)
        QCOMPARE(ParticipantRules::sexLetter(sex.first), sex.second);

    const QList<QPair<QString, QString>> numbers = {{"12-34-5678901", "12345678901"},
                                                    {"12345678901", "12345678901"},
                                                    {"01 23 4567890", "01234567890"},
                                                    {"1234567890", ""},
                                                    {"123456789012", ""},
                                                    {"12-34-567890a", ""},
                                                    {"1.2345678901e10", ""}};
    for (const auto &number : numbers)
        QCOMPARE(ParticipantRules::gtoUuidDigits(number.first), number.second);

    const QList<QPair<QString, QString>> dates = {{"7.3.2010", "07.03.2010"},
                                                  {"07.03.2010", "07.03.2010"},
                                                  {"07/03/2010", "07.03.2010"},
                                                  {"7/3/2010", "07.03.2010"},
                                                  {"2010-03-07", "07.03.2010"},
                                                  {"2010-03-07T00:00:00", "07.03.2010"},
                                                  {"07.03.2010 0:00:00", "07.03.2010"},
                                                  {" 29.02.2008 ", "29.02.2008"},
                                                  {"31.02.2010", ""},
                                                  {"29.02.2010", ""},
                                                  {"07.03.10", ""},
                                                  {"07/03.2010", ""},
                                                  {"2010/03/07", ""},
                                                  {"03.2010", ""}};
    for (const auto &date : dates) {
        const QDate parsed = ParticipantRules::dateFromText(date.first);
        QCOMPARE(parsed.isValid() ? ParticipantRules::dateText(parsed) : QString(), date.second);
    }

    // Day numbers of both date systems, the 1900 one with its 29 February that never was.
    QCOMPARE(ParticipantRules::dateFromSerial(1), QDate(1900, 1, 1));
    QCOMPARE(ParticipantRules::dateFromSerial(59), QDate(1900, 2, 28));
    QVERIFY(!ParticipantRules::dateFromSerial(60).isValid());
    QCOMPARE(ParticipantRules::dateFromSerial(61), QDate(1900, 3, 1));
    QCOMPARE(ParticipantRules::dateFromSerial(40244), QDate(2010, 3, 7));
    QCOMPARE(ParticipantRules::dateFromSerial(40244.75), QDate(2010, 3, 7));
    QCOMPARE(ParticipantRules::dateFromSerial(38782, true), QDate(2010, 3, 7));
    QVERIFY(!ParticipantRules::dateFromSerial(0).isValid());
    QVERIFY(!ParticipantRules::dateFromSerial(-5).isValid());
    QVERIFY(!ParticipantRules::dateFromSerial(1e9).isValid());
}

QTEST_GUILESS_MAIN(TestParticipantRules)
#include "tst_participantrules.moc"
