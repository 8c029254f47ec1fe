#include "fileio.h"
#include "qmltypes.h"
#include "storage/recoverystore.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

// Gives the documents under test what the program gives them, plus a scratch folder.
class Setup : public QObject
{
    Q_OBJECT

public slots:
    // The file dialog keeps its settings under the application's identity.
    void applicationAvailable()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Orvend Electronics"));
        QCoreApplication::setOrganizationDomain(QStringLiteral("orvend.example"));
        QCoreApplication::setApplicationName(QStringLiteral("quillor list exporter tests"));
        registerQmlTypes();
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("FileIO"), &fileIO);
        engine->rootContext()->setContextProperty(QStringLiteral("testDir"), dir.path());
        // Every test document starts as a fresh copy of the program, with a recovery
        // folder of its own.
        auto *store =
            new RecoveryStore(dir.filePath(QStringLiteral("recovery-%1").arg(++engines)), engine);
        engine->rootContext()->setContextProperty(QStringLiteral("RecoveryStore"), store);
    }

private:
    FileIO fileIO;
    QTemporaryDir dir;
    int engines = 0;
};

QUICK_TEST_MAIN_WITH_SETUP(quillor_qml, Setup)
#include "tst_qml.moc"
