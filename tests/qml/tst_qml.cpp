#include "fileio.h"
#include "qmltypes.h"
#include "storage/recoverystore.h"

#include <QProcess>
#include <QQmlContext>
#include <QQmlEngine>
#include <QTemporaryDir>
#include <QtQuickTest>

// Another desk writing a list the page has open, from a process of its own.
class OtherDesk : public QObject
{
    Q_OBJECT

public:
    // Adds a record named `name` to the list at `path`; the other process's exit code.
    Q_INVOKABLE int addRecord(const QString &path, const QString &name)
    {
        return QProcess::execute(QStringLiteral(OTHER_DESK), {path, name});
    }
};

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
        engine->rootContext()->setContextProperty(QStringLiteral("OtherDesk"), &otherDesk);
        // Every test document starts as a fresh copy of the program, with a recovery
        // folder of its own.
        auto *store =
            new RecoveryStore(dir.filePath(QStringLiteral("recovery-%1").arg(++engines)), engine);
        engine->rootContext()->setContextProperty(QStringLiteral("RecoveryStore"), store);
    }

private:
    FileIO fileIO;
    OtherDesk otherDesk;
    QTemporaryDir dir;
    int engines = 0;
};

QUICK_TEST_MAIN_WITH_SETUP(quillor_qml, Setup)
#include "tst_qml.moc"
