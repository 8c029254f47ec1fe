#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void brokenDocumentExitsWithMinusOne_data();
    void brokenDocumentExitsWithMinusOne();
    void mainWindowOpensAndClosesWithZero_data();
    void mainWindowOpensAndClosesWithZero();
    void qtTextsAreRussian();
    void saveOverFileSizeLimitFails_data();
    void saveOverFileSizeLimitFails();

private:
    struct Run
    {
        int exitCode = -1000;
        QByteArray out;
        QByteArray err;
    };
    // `wrapper`, when given, is a command that runs the probe, such as prlimit.
    static Run runProbe(const QStringList &arguments,
                        QProcessEnvironment env = QProcessEnvironment::systemEnvironment(),
                        QStringList wrapper = {})
    {
        // A private runtime folder keeps Qt's own notice about a missing one off stderr;
        // a private data folder keeps the user's recovery files out of reach.
        QTemporaryDir runtime;
        QProcess probe;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), runtime.filePath(QStringLiteral("data")));
        probe.setProcessEnvironment(env);
        wrapper << QStringLiteral(STARTUP_PROBE) << arguments;
        probe.start(wrapper.takeFirst(), wrapper);
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

void TestStartup::mainWindowOpensAndClosesWithZero_data()
{
    QTest::addColumn<QString>("locale");
    QTest::newRow("the machine's locale") << QString();
    QTest::newRow("Russian") << QStringLiteral("ru_RU");
    // Its decimal point, U+066B, is two bytes long, which the JSON library cannot read.
    QTest::newRow("Pashto") << QStringLiteral("ps_AF");
}

// Numbers in list files are read with the C library, so its numeric locale is "C"
// whatever the user's locale is.
void TestStartup::mainWindowOpensAndClosesWithZero()
{
    QFETCH(QString, locale);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir locales;
    if (!locale.isEmpty()) {
        const QString name = locale + QStringLiteral(".UTF-8");
        QProcess localedef;
        localedef.start(QStringLiteral("localedef"),
                        {QStringLiteral("-i"), locale, QStringLiteral("-f"),
                         QStringLiteral("UTF-8"), locales.filePath(name)});
        localedef.waitForFinished(60000);
        if (!QFileInfo(locales.filePath(name)).isDir())
            QSKIP("localedef made no such locale");
        env.insert(QStringLiteral("LOCPATH"), locales.path());
        env.insert(QStringLiteral("LC_ALL"), name);
    }
    const Run run = runProbe({QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--close")}, env);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("orvend.example|Orvend Electronics|quillor list "
                                 "exporter|1.0.0|1024x768|C\n"));
}

void TestStartup::qtTextsAreRussian()
{
    const Run run = runProbe({QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--texts")});
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(QString::fromUtf8(run.out),
             QStringLiteral("Имя|Отмена|Все файлы (*)|Домашний каталог\n"));
}

void TestStartup::saveOverFileSizeLimitFails_data()
{
    QTest::addColumn<bool>("existing");
    QTest::addColumn<int>("limit");
    QTest::newRow("existing file") << true << 8000000;
    QTest::newRow("new file") << false << 8000000;
    // The script engine's stack, a file of 4.4 MB in memory, meets this one at start-up.
    QTest::newRow("existing file, limit below the script stack") << true << 1000000;
}

// A save over the file size limit fails with 3 and leaves the folder as it was: the program
// itself keeps the limit's signal from ending it.
void TestStartup::saveOverFileSizeLimitFails()
{
    QFETCH(bool, existing);
    QFETCH(int, limit);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("list.json"));
    const QByteArray old("[{\"name\":\"Old\"}]\n");
    if (existing) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(old), qint64(old.size()));
    }
    const QStringList before =
        QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const Run run = runProbe({QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--save"), path,
                              QString::number(2 * limit)},
                             QProcessEnvironment::systemEnvironment(),
                             {QStringLiteral("prlimit"), QStringLiteral("--fsize=%1").arg(limit)});
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("3\n"));
    if (existing) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), old);
    }
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
