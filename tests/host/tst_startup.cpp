#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void brokenDocumentExitsWithMinusOne_data();
    void brokenDocumentExitsWithMinusOne();
    void mainWindowOpensAndClosesWithZero();
    void qtTextsAreRussian();

private:
    struct Run
    {
        int exitCode = -1000;
        QByteArray out;
        QByteArray err;
    };
    static Run runProbe(const QStringList &arguments)
    {
        // A private runtime folder keeps Qt's own notice about a missing one off stderr;
        // a private data folder keeps the user's recovery files out of reach.
        QTemporaryDir runtime;
        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), runtime.filePath(QStringLiteral("data")));
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(STARTUP_PROBE), arguments);
        Run run;
        if (!probe.waitForFinished(60000) || probe.exitStatus() != QProcess::NormalExit)
            return run;
        run.exitCode = probe.exitCode();
        run.out = probe.readAllStandardOutput();
        run.err = probe.readAllStandardError();
        return run;
    }
};

void TestStartup::brokenDocumentExitsWithMinusOne_data()
{
    QTest::addColumn<QByteArray>("document");
    QTest::newRow("does not compile")
        << QByteArray("import QtQuick 2.7\nItem { noSuchProperty: 1 }\n");
    QTest::newRow("syntax error") << QByteArray("import QtQuick 2.7\nItem {\n");
    QTest::newRow("root is not a window") << QByteArray("import QtQuick 2.7\nItem {}\n");
    QTest::newRow("root is a plain object") << QByteArray("import QtQml 2.0\nQtObject {}\n");
    QTest::newRow("missing") << QByteArray();
}

void TestStartup::brokenDocumentExitsWithMinusOne()
{
    QFETCH(QByteArray, document);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("broken.qml"));
    if (!document.isEmpty()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(document);
    }
    const Run run = runProbe({path, QStringLiteral("--close")});
    // -1 becomes 255 as a process exit status.
    QCOMPARE(run.exitCode, 255);
    QCOMPARE(run.out, QByteArray());
    QCOMPARE(run.err, QByteArray());
}

void TestStartup::mainWindowOpensAndClosesWithZero()
{
    const Run run = runProbe({QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--close")});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(
        run.out,
        QByteArray("orvend.example|Orvend Electronics|quillor list exporter|1.0.0|1024x768\n"));
}

void TestStartup::qtTextsAreRussian()
{
    const Run run = runProbe({QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--texts")});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out),
             QStringLiteral("Имя|Отмена|Все файлы (*)|Домашний каталог\n"));
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
