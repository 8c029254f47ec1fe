#include "startup.h"

#include "fileio.h"
#include "qmltypes.h"
#include "storage/recoverystore.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QStandardPaths>
#include <QTranslator>
#include <memory>

namespace {

// The whole interface is Russian, so Qt's own texts (the file dialog's buttons, folder
// names, context menus) are too, whatever the system's language.
void installQtTranslations(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    for (const char *name : {"qtbase_ru", "qtdeclarative_ru", "qtquickcontrols_ru"}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QLatin1String(name), folder))
            app.installTranslator(translator);
        else
            delete translator;
    }
}

} // namespace

int runApplication(int &argc, char **argv, const QUrl &document,
                   const std::function<void(QQuickWindow &)> &onWindowReady)
{
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES, true);
    QGuiApplication app(argc, argv);
    app.setOrganizationDomain(QStringLiteral("orvend.example"));
    app.setOrganizationName(QStringLiteral("Orvend Electronics"));
    app.setApplicationName(QStringLiteral("quillor list exporter"));
    app.setApplicationVersion(QStringLiteral("1.0.0"));
    installQtTranslations(app);

    registerQmlTypes();
    // Outlives the engine and the window, so that the pages' last changes reach it and
    // it finishes writing them before the program ends.
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    RecoveryStore recovery(data.isEmpty() ? QString() : data + QLatin1String("/recovery"));
    recovery.claimOrphans();
    QQmlEngine engine;
    // Published for the whole life of the process; the engine never owns it.
    auto *fileIO = new FileIO;
    engine.rootContext()->setContextProperty(QStringLiteral("FileIO"), fileIO);
    engine.rootContext()->setContextProperty(QStringLiteral("RecoveryStore"), &recovery);
    QObject::connect(&engine, &QQmlEngine::quit, &app, &QGuiApplication::quit);

    QQmlComponent component(&engine, document);
    if (!component.isReady())
        return -1;

    std::unique_ptr<QObject> root(component.create(engine.rootContext()));
    auto *window = qobject_cast<QQuickWindow *>(root.get());
    if (!window)
        return -1;

    const QIcon icon(QPixmap(QStringLiteral(":/icon.png")));
    window->setIcon(icon);
    if (onWindowReady)
        onWindowReady(*window);

    const int status = app.exec();
    root.reset();
    return status;
}
