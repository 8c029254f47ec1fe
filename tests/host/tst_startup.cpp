#include <QDirIterator>
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
    void opensListFromCommandLine_data();
    void opensListFromCommandLine();
    void versionAndMistakes();

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
                        QStringList wrapper = {}, const QString &workingFolder = {})
    {
        // A private runtime folder keeps Qt's own notice about a missing one off stderr;
        // a private data folder keeps the user's recovery files out of reach.
        QTemporaryDir runtime;
        QProcess probe;
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), runtime.filePath(QStringLiteral("data")));
        probe.setProcessEnvironment(env);
        probe.setWorkingDirectory(workingFolder);
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

void TestStartup::opensListFromCommandLine_data()
{
    QTest::addColumn<QString>("argument");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("page");
    const QString good = QStringLiteral("Списки участников/весна 2024.json");
    QTest::newRow("absolute Cyrillic path with spaces")
        << "%1/" + good << good << QStringLiteral("2|");
    QTest::newRow("relative path") << QStringLiteral("./Списки участников/../list.json")
                                   << QStringLiteral("list.json") << QStringLiteral("1|");
    QTest::newRow("file URL") << QStringLiteral("file://%1/") + good << good
                              << QStringLiteral("2|");
    QTest::newRow("bad file") << QStringLiteral("%1/bad.json") << QStringLiteral("bad.json")
                              << QStringLiteral("0|Это не список JSON: строка 1, позиция 10");
    QTest::newRow("missing file") << QStringLiteral("%1/нет.json") << QStringLiteral("нет.json")
                                  << QStringLiteral("0|Файл не найден");
    QTest::newRow("no file") << QString() << QString() << QString();
}

// A list named on the command line opens on the editing page as its load button would
// open it, and the folder stays as it was.
void TestStartup::opensListFromCommandLine()
{
    QFETCH(QString, argument);
    QFETCH(QString, path);
    QFETCH(QString, page);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Списки участников")));
    const QMap<QString, QByteArray> files{
        {QStringLiteral("Списки участников/весна 2024.json"),
         "[{\"isGto\":false,\"name\":\"А\"},{\"isGto\":false,\"name\":\"Б\"}]\n"},
        {QStringLiteral("list.json"), "[{\"isGto\":false,\"name\":\"В\"}]\n"},
        {QStringLiteral("bad.json"), "[{\"name\":"}};
    for (auto file = files.begin(); file != files.end(); ++file) {
        QFile out(dir.filePath(file.key()));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QCOMPARE(out.write(file.value()), qint64(file.value().size()));
    }
    QStringList arguments{QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--open")};
    if (argument.startsWith(QLatin1String("file:")))
        arguments << QUrl::fromLocalFile(dir.filePath(path)).toString(QUrl::FullyEncoded);
    else if (!argument.isEmpty())
        arguments << QString(argument).replace(QLatin1String("%1"), dir.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));

    const Run run = runProbe(arguments, env, {}, dir.path());
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    const QString expected = path.isEmpty()
                                 ? QStringLiteral("0|?|?|")
                                 : QStringLiteral("1|%1|%2").arg(dir.filePath(path), page);
    QCOMPARE(QString::fromUtf8(run.out), expected + QLatin1Char('\n'));
    QDirIterator found(dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    QStringList left;
    while (found.hasNext())
        left << QDir(dir.path()).relativeFilePath(found.next());
    left.sort();
    QCOMPARE(left, QStringList({QStringLiteral("bad.json"), QStringLiteral("list.json"),
                                QStringLiteral("Списки участников"),
                                QStringLiteral("Списки участников/весна 2024.json")}));
    for (auto file = files.begin(); file != files.end(); ++file) {
        QFile in(dir.filePath(file.key()));
        QVERIFY(in.open(QIODevice::ReadOnly));
        QCOMPARE(in.readAll(), file.value());
    }
}

// The version needs no display and wins over a mistake beside it; a mistake alone ends the
// program before any window.
void TestStartup::versionAndMistakes()
{
    const QStringList program{QStringLiteral("qrc:/qml/main.qml"), QStringLiteral("--open")};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":no-such-display"));
    Run run =
        runProbe(program + QStringList{QStringLiteral("-x"), QStringLiteral("--version")}, env);
    QCOMPARE(run.err, QByteArray());
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.out, QByteArray("quillor list exporter " QUILLOR_VERSION "\n"));

    run = runProbe(program + QStringList{QStringLiteral("a.json"), QStringLiteral("b.json")});
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.out, QByteArray());
    QVERIFY2(QString::fromUtf8(run.err).contains(QStringLiteral("только один файл")),
             run.err.constData());
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
