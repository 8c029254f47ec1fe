#include "participantlistmodel.h"

#include <QAbstractItemModelTester>
#include <QJSEngine>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <clocale>
#include <cstring>
#include <memory>
#include <string>

namespace {

const QString gtoRecord = QStringLiteral(
    "{\"birthDate\":\"07.03.2000\",\"group\":\"Школа 5\",\"gtoUuid\":\"12345678901\","
    "\"isGto\":true,\"name\":\"Иванова Мария\",\"organization\":\"Школа 5\",\"sex\":\"Ж\","
    "\"step\":\"6.0\"}");
const QString trainingRecord = QStringLiteral(
    "{\"group\":\"5А\",\"isGto\":false,\"name\":\"Петров Иван\",\"organization\":\"Клуб\"}");

} // namespace

class TestParticipantListModel : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void creationPageListsWriteBackByteForByte_data();
    void creationPageListsWriteBackByteForByte();
    void keyOrderIsTheOrderFirstMet_data();
    void keyOrderIsTheOrderFirstMet();
    void foreignValuesAreKept_data();
    void foreignValuesAreKept();
    void rolesGiveValuesWithTheirTypes();
    void numbersUnderACommaLocale();
    void editsAreStringsAndAddKeysAtTheEnd();
    void removeTakesOneRow();
    void textThatIsNoListChangesNothing_data();
    void textThatIsNoListChangesNothing();
    void elementsThatAreNoObjectsAreSkipped_data();
    void elementsThatAreNoObjectsAreSkipped();
    void deepNestingInsideARowIsKept();
    void largeList();

private:
    // The text the creation page writes for records given as a script expression.
    QString stringify(const QString &records)
    {
        const QJSValue text = engine.evaluate(QStringLiteral("JSON.stringify(%1)").arg(records));
        return text.isString() ? text.toString() : QStringLiteral("<no text: %1>").arg(records);
    }
    QVariant valueAt(int row, int role) const { return model->data(model->index(row), role); }

    QJSEngine engine;
    std::unique_ptr<ParticipantListModel> model;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

void TestParticipantListModel::init()
{
    tester.reset();
    model = std::make_unique<ParticipantListModel>();
    tester = std::make_unique<QAbstractItemModelTester>(
        model.get(), QAbstractItemModelTester::FailureReportingMode::QtTest);
}

void TestParticipantListModel::creationPageListsWriteBackByteForByte_data()
{
    QTest::addColumn<QString>("records");
    QTest::addColumn<int>("rows");
    const QString gto = QStringLiteral(
        "{birthDate: '07.03.2000', group: 'Школа №5', gtoUuid: '12345678901', isGto: true, "
        "name: 'Иванова Мария', organization: 'Школа №5', sex: 'Ж', step: '6.0'%1}");
    const QString bib = QStringLiteral(", pectoralNumber: '17', athleticRank: 'КМС'");
    const QString training =
        QStringLiteral("{group: '%1', isGto: false, name: 'Петров Иван', organization: 'Клуб'}");

    QTest::newRow("empty list") << QStringLiteral("[]") << 0;
    QTest::newRow("GTO, eight keys") << "[" + gto.arg(QString()) + "]" << 1;
    QTest::newRow("GTO, ten keys") << "[" + gto.arg(bib) + "]" << 1;
    QTest::newRow("ten keys, then eight, then training")
        << "[" + gto.arg(bib) + "," + gto.arg(QString()) + "," + training.arg("5А") + "]" << 3;
    QTest::newRow("training only")
        << "[" + training.arg("5А") + "," + training.arg("6Б") + "]" << 2;
    QTest::newRow("quotation mark, backslash, tab")
        << "[" + training.arg(QStringLiteral("\\\"А\\\" \\\\ 5\\tБ")) + "]" << 1;
    QTest::newRow("every control character")
        << QStringLiteral("[{name: Array.apply(null, Array(32)).map(function (x, i) { "
                          "return String.fromCharCode(i); }).join('')}]")
        << 1;
    QTest::newRow("slash, DEL, line separator, emoji")
        << QStringLiteral("[{name: 'a/b\\u007f\\u2028\\ud83d\\ude00'}]") << 1;
}

void TestParticipantListModel::creationPageListsWriteBackByteForByte()
{
    QFETCH(QString, records);
    QFETCH(int, rows);
    const QString text = stringify(records);
    QVERIFY(model->load(text));
    QCOMPARE(model->rowCount(), rows);
    QCOMPARE(model->property("count").toInt(), rows);
    QCOMPARE(model->toJson(), text);
}

void TestParticipantListModel::keyOrderIsTheOrderFirstMet_data()
{
    QTest::addColumn<QStringList>("loads");
    QTest::addColumn<QString>("written");

    const QString gtoFirstMetAfterTraining = QStringLiteral(
        "{\"group\":\"Школа 5\",\"isGto\":true,\"name\":\"Иванова Мария\","
        "\"organization\":\"Школа 5\",\"birthDate\":\"07.03.2000\",\"gtoUuid\":\"12345678901\","
        "\"sex\":\"Ж\",\"step\":\"6.0\"}");
    QTest::newRow("training first in the file")
        << QStringList{"[" + trainingRecord + "," + gtoRecord + "]"}
        << "[" + trainingRecord + "," + gtoFirstMetAfterTraining + "]";
    QTest::newRow("training file loaded earlier")
        << QStringList{"[" + trainingRecord + "]", "[" + gtoRecord + "]"}
        << "[" + gtoFirstMetAfterTraining + "]";
    QTest::newRow("GTO file loaded earlier")
        << QStringList{"[" + gtoRecord + "]", "[" + trainingRecord + "," + gtoRecord + "]"}
        << "[" + trainingRecord + "," + gtoRecord + "]";
    QTest::newRow("rank met before bib number")
        << QStringList{QStringLiteral("[{\"name\":\"a\",\"athleticRank\":\"1\"},"
                                      "{\"name\":\"b\",\"pectoralNumber\":\"2\","
                                      "\"athleticRank\":\"3\"}]")}
        << QStringLiteral("[{\"name\":\"a\",\"athleticRank\":\"1\"},"
                          "{\"name\":\"b\",\"athleticRank\":\"3\",\"pectoralNumber\":\"2\"}]");
    QTest::newRow("keys of a failed load are not kept")
        << QStringList{QStringLiteral("[{\"zeta\":1,\"name\":\"a\"}"),
                       QStringLiteral("[{\"name\":\"a\",\"zeta\":1}]")}
        << QStringLiteral("[{\"name\":\"a\",\"zeta\":1}]");
    QTest::newRow("a key only some rows hold")
        << QStringList{QStringLiteral("[{\"a\":1},{\"b\":2,\"a\":3},{\"c\":4,\"b\":5}]")}
        << QStringLiteral("[{\"a\":1},{\"a\":3,\"b\":2},{\"b\":5,\"c\":4}]");
}

void TestParticipantListModel::keyOrderIsTheOrderFirstMet()
{
    QFETCH(QStringList, loads);
    QFETCH(QString, written);
    for (const QString &text : loads)
        model->load(text);
    QCOMPARE(model->toJson(), written);
}

void TestParticipantListModel::foreignValuesAreKept_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");

    const auto same = [](const char *tag, const QString &text) {
        QTest::newRow(tag) << text << text;
    };
    same("numbers as spelt",
         QStringLiteral("[{\"a\":17,\"b\":-3,\"c\":1.50,\"d\":1e2,\"e\":-2.5E-3,"
                        "\"f\":12345678901234567890,\"g\":-9223372036854775808,"
                        "\"h\":123456789012345678901234567890}]"));
    same("minus zero", QStringLiteral("[{\"a\":-0,\"b\":[0,-0,{\"c\":-0}],\"d\":0,\"e\":-0.0}]"));
    same("boolean missing from some rows",
         QStringLiteral("[{\"name\":\"a\",\"flag\":true},{\"name\":\"b\"},"
                        "{\"name\":\"c\",\"flag\":false}]"));
    same("null", QStringLiteral("[{\"name\":null,\"step\":null}]"));
    same("nested arrays and objects",
         QStringLiteral("[{\"a\":[1,[2,{\"b\":null,\"c\":[]}],\"x\\\"y\"],"
                        "\"o\":{\"k\":{\"l\":{}},\"m\":\"\\u0001\\n\",\"n\":[true,false]}}]"));
    same("type differs between rows",
         QStringLiteral("[{\"v\":1},{\"v\":\"1\"},{\"v\":true},{\"v\":null},{\"v\":[1]},"
                        "{\"v\":{\"w\":1}}]"));
    same("row without keys", QStringLiteral("[{},{\"a\":1},{}]"));
    same("empty key", QStringLiteral("[{\"\":\"x\"}]"));
    QTest::newRow("white space between tokens")
        << QStringLiteral(" [ {\"a\" : 1 ,\n\"b\" :\t[ 1 , { \"c\" : 2 } ] } ] \n")
        << QStringLiteral("[{\"a\":1,\"b\":[1,{\"c\":2}]}]");
    QTest::newRow("escapes written the engine's way")
        << QStringLiteral("[{\"a\":\"\\u0416\\/\\u001F\\u00e9\",\"o\":{\"\\u0041\":\"\\/\"}}]")
        << QStringLiteral("[{\"a\":\"Ж/\\u001fé\",\"o\":{\"A\":\"/\"}}]");
}

void TestParticipantListModel::foreignValuesAreKept()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QVERIFY(model->load(text));
    QCOMPARE(model->toJson(), written);
}

void TestParticipantListModel::rolesGiveValuesWithTheirTypes()
{
    QVERIFY(model->load(
        QStringLiteral("[{\"name\":\"Ж\",\"step\":8.1,\"isGto\":true,\"group\":null,"
                       "\"organization\":[1,{\"a\":\"б\"}],\"sex\":{\"x\":\"y\"},\"gtoUuid\":\"\","
                       "\"pectoralNumber\":12345678901234567890,\"athleticRank\":1.50},{}]")));
    using M = ParticipantListModel;
    QCOMPARE(valueAt(0, M::NameRole), QVariant(QStringLiteral("Ж")));
    QCOMPARE(valueAt(0, M::StepRole), QVariant(QStringLiteral("8.1")));
    QCOMPARE(valueAt(0, M::IsGtoRole), QVariant(true));
    QCOMPARE(valueAt(0, M::GroupRole).userType(), int(QMetaType::Nullptr));
    QCOMPARE(valueAt(0, M::OrganizationRole), QVariant(QStringLiteral("[1,{\"a\":\"б\"}]")));
    QCOMPARE(valueAt(0, M::SexRole), QVariant(QStringLiteral("{\"x\":\"y\"}")));
    QCOMPARE(valueAt(0, M::GtoUuidRole), QVariant(QString()));
    // Numbers as spelled: no digits lost to a double, no zeros dropped.
    QCOMPARE(valueAt(0, M::PectoralNumberRole), QVariant(QStringLiteral("12345678901234567890")));
    QCOMPARE(valueAt(0, M::AthleticRankRole), QVariant(QStringLiteral("1.50")));
    QVERIFY(valueAt(0, M::GtoUuidRole).isValid());
    // Never met, held by another row only, and not a role at all.
    QVERIFY(!valueAt(0, M::BirthDateRole).isValid());
    QVERIFY(!valueAt(1, M::NameRole).isValid());
    QVERIFY(!valueAt(0, Qt::DisplayRole).isValid());
}

// The program runs under the user's locale, and a Russian one writes decimals with a comma.
void TestParticipantListModel::numbersUnderACommaLocale()
{
    QTemporaryDir locales;
    QProcess localedef;
    localedef.start(QStringLiteral("localedef"),
                    {QStringLiteral("-i"), QStringLiteral("ru_RU"), QStringLiteral("-f"),
                     QStringLiteral("UTF-8"), locales.filePath(QStringLiteral("ru_RU.UTF-8"))});
    localedef.waitForFinished(60000);
    qputenv("LOCPATH", QFile::encodeName(locales.path()));
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "ru_RU.UTF-8")) {
        qunsetenv("LOCPATH");
        QSKIP("localedef made no Russian locale");
    }
    const bool comma = std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    const QString text = QStringLiteral("[{\"step\":8.1,\"b\":[-2.25e3,{\"c\":0.5}]}]");
    const bool loaded = model->load(text);
    const QString written = model->toJson();
    const QVariant step = valueAt(0, ParticipantListModel::StepRole);
    std::setlocale(LC_NUMERIC, before.c_str());
    qunsetenv("LOCPATH");

    QVERIFY(comma);
    QVERIFY(loaded);
    QCOMPARE(written, text);
    QCOMPARE(step, QVariant(QStringLiteral("8.1")));
}

void TestParticipantListModel::editsAreStringsAndAddKeysAtTheEnd()
{
    QVERIFY(model->load("[" + trainingRecord + ",{\"name\":\"Б\",\"step\":6}]"));
    QSignalSpy changed(model.get(), &QAbstractItemModel::dataChanged);

    QVERIFY(model->setValue(1, QStringLiteral("step"), QStringLiteral("8.1")));
    QVERIFY(model->setValue(0, QStringLiteral("birthDate"), QString()));
    QVERIFY(model->setValue(0, QStringLiteral("step"), QStringLiteral("3")));
    QVERIFY(model->setValue(1, QStringLiteral("note"), QStringLiteral("\"x\"\t")));
    QVERIFY(model->setValue(0, QStringLiteral("name"), QStringLiteral("Петров  Пётр")));
    QCOMPARE(model->toJson(),
             QStringLiteral("[{\"group\":\"5А\",\"isGto\":false,\"name\":\"Петров  Пётр\","
                            "\"organization\":\"Клуб\",\"step\":\"3\",\"birthDate\":\"\"},"
                            "{\"name\":\"Б\",\"step\":\"8.1\",\"note\":\"\\\"x\\\"\\t\"}]"));
    QCOMPARE(model->data(model->index(1), ParticipantListModel::StepRole),
             QVariant(QStringLiteral("8.1")));

    // The view hears of each change, with the role when the key has one.
    QCOMPARE(changed.size(), 5);
    QCOMPARE(changed.at(1).at(2).value<QVector<int>>(),
             QVector<int>{ParticipantListModel::BirthDateRole});

    // Rows that do not exist take nothing and add no key.
    QVERIFY(!model->setValue(2, QStringLiteral("late"), QStringLiteral("x")));
    QVERIFY(!model->setValue(-1, QStringLiteral("late"), QStringLiteral("x")));
    QCOMPARE(changed.size(), 5);
    QVERIFY(model->load(QStringLiteral("[{\"late\":1,\"note\":2,\"name\":3}]")));
    QCOMPARE(model->toJson(), QStringLiteral("[{\"name\":3,\"note\":2,\"late\":1}]"));
}

void TestParticipantListModel::removeTakesOneRow()
{
    QVERIFY(model->load(QStringLiteral("[{\"name\":\"a\"},{\"name\":\"b\"},{\"name\":\"c\"}]")));
    QSignalSpy counted(model.get(), &ParticipantListModel::countChanged);
    QVERIFY(model->remove(1));
    QCOMPARE(model->toJson(), QStringLiteral("[{\"name\":\"a\"},{\"name\":\"c\"}]"));
    QVERIFY(!model->remove(2));
    QVERIFY(!model->remove(-1));
    QVERIFY(model->remove(1));
    QVERIFY(model->remove(0));
    QCOMPARE(model->rowCount(), 0);
    QCOMPARE(counted.size(), 3);
    QCOMPARE(model->toJson(), QStringLiteral("[]"));

    // Removed rows take their values along, but the keys stay in the order.
    QVERIFY(model->load(QStringLiteral("[{\"x\":1,\"name\":\"d\"}]")));
    QCOMPARE(model->toJson(), QStringLiteral("[{\"name\":\"d\",\"x\":1}]"));
}

void TestParticipantListModel::textThatIsNoListChangesNothing_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("white space") << QStringLiteral(" \n\t\r ");
    QTest::newRow("null") << QStringLiteral("null");
    QTest::newRow("object") << QStringLiteral("{\"name\":\"a\"}");
    QTest::newRow("number") << QStringLiteral("17");
    QTest::newRow("string") << QStringLiteral("\"[]\"");
    QTest::newRow("true") << QStringLiteral("true");
    QTest::newRow("not JSON") << QStringLiteral("Иванов; Петров");
    QTest::newRow("cut short") << QStringLiteral("[{\"name\":\"a\"},{\"name\":");
    QTest::newRow("trailing comma") << QStringLiteral("[{\"name\":\"a\"},]");
    QTest::newRow("text after the list") << QStringLiteral("[{\"name\":\"a\"}]x");
    QTest::newRow("two lists") << QStringLiteral("[] []");
    QTest::newRow("comment") << QStringLiteral("[/* a */]");
    QTest::newRow("single quotes") << QStringLiteral("[{'name':'a'}]");
    QTest::newRow("number beyond double") << QStringLiteral("[{\"a\":1e400}]");
    QTest::newRow("lone surrogate escape") << QStringLiteral("[{\"a\":\"\\ud800\"}]");
    QTest::newRow("raw line feed in a string") << QStringLiteral("[{\"a\":\"x\ny\"}]");
    QTest::newRow("deeply nested object")
        << QStringLiteral("{\"a\":") + QString(100000, QLatin1Char('[')) +
               QString(100000, QLatin1Char(']')) + QStringLiteral("}");
    QTest::newRow("deeply nested, unclosed") << QString(100000, QLatin1Char('['));
}

void TestParticipantListModel::textThatIsNoListChangesNothing()
{
    QFETCH(QString, text);
    const QString before = "[" + gtoRecord + "," + trainingRecord + "]";
    QVERIFY(model->load(before));
    QSignalSpy reset(model.get(), &QAbstractItemModel::modelReset);
    QVERIFY(!model->load(text));
    QCOMPARE(reset.size(), 0);
    QCOMPARE(model->rowCount(), 2);
    QCOMPARE(model->toJson(), before);
    QCOMPARE(model->data(model->index(0), ParticipantListModel::SexRole),
             QVariant(QStringLiteral("Ж")));
}

void TestParticipantListModel::elementsThatAreNoObjectsAreSkipped_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");
    QTest::addColumn<int>("skipped");
    QTest::newRow("scalars and arrays among records")
        << QStringLiteral("[1,\"a\",{\"name\":\"x\"},null,[{\"name\":\"y\"}],true,"
                          "{\"name\":\"z\"},[]]")
        << QStringLiteral("[{\"name\":\"x\"},{\"name\":\"z\"}]") << 6;
    QTest::newRow("deeply nested arrays only")
        << QString(100000, QLatin1Char('[')) + QString(100000, QLatin1Char(']'))
        << QStringLiteral("[]") << 1;
    QTest::newRow("empty list") << QStringLiteral("[]") << QStringLiteral("[]") << 0;
}

void TestParticipantListModel::elementsThatAreNoObjectsAreSkipped()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    QFETCH(int, skipped);
    QVERIFY(model->load("[" + gtoRecord + "]"));
    if (skipped > 0)
        QTest::ignoreMessage(
            QtWarningMsg,
            QRegularExpression(QStringLiteral("^List file: %1 element").arg(skipped)));
    QVERIFY(model->load(text));
    QCOMPARE(model->toJson(), written);
}

// Nothing recurses over nested values: loading, writing and destroying all survive.
void TestParticipantListModel::deepNestingInsideARowIsKept()
{
    const int depth = 100000;
    const QString deep = QStringLiteral("[{\"name\":\"a\",\"deep\":") +
                         QString(depth, QLatin1Char('[')) + QStringLiteral("{\"k\":\"v\"}") +
                         QString(depth, QLatin1Char(']')) + QStringLiteral("}]");
    QVERIFY(model->load(deep));
    QCOMPARE(model->toJson(), deep);
    QCOMPARE(model->data(model->index(0), ParticipantListModel::NameRole).toString(),
             QStringLiteral("a"));
    tester.reset();
    model.reset();
}

void TestParticipantListModel::largeList()
{
    // Over 20 MB of creation-page records.
    const int count = 120000;
    const QString records =
        stringify(QStringLiteral("(function () { var list = []; for (var i = 0; i < %1; ++i) { "
                                 "var r = %2; r.name += i; list.push(r); } return list; })()")
                      .arg(count)
                      .arg(gtoRecord));
    QVERIFY(records.toUtf8().size() > 20000000);
    QVERIFY(model->load(records));
    QCOMPARE(model->rowCount(), count);
    QCOMPARE(model->data(model->index(count - 1), ParticipantListModel::NameRole).toString(),
             QStringLiteral("Иванова Мария%1").arg(count - 1));
    QCOMPARE(model->toJson(), records);

    // Cut short in the last record, it is no list and the rows stay.
    QVERIFY(model->load(QStringLiteral("[") + gtoRecord + "]"));
    QVERIFY(!model->load(records.left(records.size() - 3)));
    QCOMPARE(model->rowCount(), 1);
}

QTEST_GUILESS_MAIN(TestParticipantListModel)
#include "tst_participantlistmodel.moc"
