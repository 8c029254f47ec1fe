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
#include <chrono>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <thread>

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
    // The window is gone, but what is left of the teardown may wait on others: handing
    // copied text to a clipboard manager waits up to five seconds for one that does not
    // answer. The process ends soon all the same, with the event loop's status.
    std::thread([status] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        std::_Exit(status);
    }).detach();
    root.reset();
    return status;
}
