#include <QFile>
#include <QImage>
#include <QResource>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void documentsStoredAsIntended_data();
    void documentsStoredAsIntended();
    void controlsConfiguration();
    void icon();
};

void TestResources::documentsStoredAsIntended_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("compressed");
    QTest::newRow("main window") << QStringLiteral(":/qml/main.qml") << false;
    QTest::newRow("creation page") << QStringLiteral(":/qml/Page1.qml") << true;
    QTest::newRow("editing page") << QStringLiteral(":/qml/Page2.qml") << true;
}

void TestResources::documentsStoredAsIntended()
{
    QFETCH(QString, path);
    QFETCH(bool, compressed);
    const QResource resource(path);
    QVERIFY(resource.isValid());
    QCOMPARE(resource.compressionAlgorithm() == QResource::ZlibCompression, compressed);
    QCOMPARE(resource.compressionAlgorithm() == QResource::NoCompression, !compressed);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("import QtQuick"));
}

void TestResources::controlsConfiguration()
{
    QFile file(QStringLiteral(":/qtquickcontrols2.conf"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Controls]\r\nStyle=Default\r\n"));
}

void TestResources::icon()
{
    const QImage image(QStringLiteral(":/icon.png"));
    QVERIFY(!image.isNull());
    QCOMPARE(image.width(), image.height());
}

QTEST_GUILESS_MAIN(TestResources)
#include "tst_resources.moc"
