#include "startup.h"

#include "fileio.h"
#include "qmltypes.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickWindow>
#include <clocale>
#include <memory>

int runApplication(int &argc, char **argv, const QUrl &document,
                   const std::function<void(QQuickWindow &)> &onWindowReady)
{
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES, true);
    QGuiApplication app(argc, argv);
    // The application object sets the C library's locale from the user's. The JSON library
    // reads numbers with the C library and expects a one-byte decimal point, which not
    // every locale has; Qt's own number formatting follows QLocale and stays the user's.
    std::setlocale(LC_NUMERIC, "C");
    app.setOrganizationDomain(QStringLiteral("orvend.example"));
    app.setOrganizationName(QStringLiteral("Orvend Electronics"));
    app.setApplicationName(QStringLiteral("quillor list exporter"));
    app.setApplicationVersion(QStringLiteral("1.0.0"));

    registerQmlTypes();
    QQmlEngine engine;
    // Published for the whole life of the process; the engine never owns it.
    auto *fileIO = new FileIO;
    engine.rootContext()->setContextProperty(QStringLiteral("FileIO"), fileIO);
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
