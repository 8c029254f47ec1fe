// Replays the fuzzers' corpora through the fuzzers' own property checks, in every build.
#include "listproperties.h"
#include "tableproperties.h"

#include <QDir>
#include <QtTest>

class TestFuzzCorpus : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Lists with elements that are no objects are reported on every load.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    }
    void propertiesHold_data();
    void propertiesHold();
};

namespace {
using Check = std::string (*)(const char *, std::size_t);
const std::pair<const char *, Check> corpora[] = {
    {"corpus", checkListProperties},
    {"corpus-csv", checkCsvProperties},
    {"corpus-paste", checkPasteProperties},
    {"corpus-xlsx", checkXlsxProperties},
    {"corpus-sheetxml", checkSheetXmlProperties},
    {"corpus-export", checkExportProperties},
};
} // namespace

void TestFuzzCorpus::propertiesHold_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("check");
    for (int k = 0; k < int(std::size(corpora)); ++k) {
        const QDir corpus(QStringLiteral(FUZZ_DIR "/") + corpora[k].first);
        const QStringList names = corpus.entryList(QDir::Files, QDir::Name);
        QVERIFY2(names.size() >= 5, corpora[k].first);
        for (const QString &name : names) {
            QTest::newRow(qPrintable(QStringLiteral("%1/%2").arg(corpora[k].first, name)))
                << corpus.filePath(name) << k;
        }
    }
}

void TestFuzzCorpus::propertiesHold()
{
    QFETCH(QString, path);
    QFETCH(int, check);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QCOMPARE(
        QString::fromStdString(corpora[check].second(bytes.constData(), std::size_t(bytes.size()))),
        QString());
}

QTEST_GUILESS_MAIN(TestFuzzCorpus)
#include "tst_fuzzcorpus.moc"
