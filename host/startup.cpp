#include "startup.h"

#include "commandline.h"
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
#include <QVariant>
#include <chrono>
#include <clocale>
#ifdef Q_OS_UNIX
#include <csignal>
#endif
#include <cstdlib>
#include <memory>
#include <thread>
#include <utility>

namespace {

// What is left of the program once its window is closed may wait on others: handing
// copied text to a clipboard manager waits up to five seconds for one that does not
// answer. The process ends within a short while all the same, with `status`.
void endSoon(int status)
{
    std::thread([status] {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        std::_Exit(status);
    }).detach();
}

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

void setIdentity(QCoreApplication &app)
{
    app.setOrganizationDomain(QStringLiteral("orvend.example"));
    app.setOrganizationName(QStringLiteral("Orvend Electronics"));
    app.setApplicationName(QStringLiteral("quillor list exporter"));
    app.setApplicationVersion(QStringLiteral(QUILLOR_VERSION));
}

// The editing page is the current tab from the first frame on. The list loads once that
// frame has laid the page out, so that the table fits its columns to the page as it does
// after a press of the load button.
void openOnEditingPage(QQuickWindow &window, const QString &path)
{
    QVariant page;
    QMetaObject::invokeMethod(&window, "showEditingPage", Q_RETURN_ARG(QVariant, page));
    QObject *pageObject = page.value<QObject *>();
    if (!pageObject)
        return;
    // Queued, as the frame may be swapped on the render thread; later frames may queue
    // more calls before the first one runs.
    auto done = std::make_shared<bool>(false);
    QObject::connect(
        &window, &QQuickWindow::frameSwapped, pageObject,
        [pageObject, path, done] {
            if (std::exchange(*done, true))
                return;
            QMetaObject::invokeMethod(pageObject, "openList", Q_ARG(QVariant, path));
        },
        Qt::QueuedConnection);
}

} // namespace

int runApplication(int &argc, char **argv, const QUrl &document,
                   const std::function<void(QQuickWindow &)> &onWindowReady, bool readArguments)
{
#ifdef Q_OS_UNIX
    // A file size limit must fail the write that meets it, as a full disk does, instead of
    // ending the program with the list unsaved and a temporary file left behind.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // The help and the version are printed without a display, as in a terminal over SSH.
    if (readArguments && asksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        setIdentity(app);
        installQtTranslations(app);
        return readCommandLine().exitStatus;
    }
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES, true);
    QGuiApplication app(argc, argv);
    // The application object sets the C library's locale from the user's. The JSON library
    // reads numbers with the C library and expects a one-byte decimal point, which not
    // every locale has; Qt's own number formatting follows QLocale and stays the user's.
    std::setlocale(LC_NUMERIC, "C");
    setIdentity(app);
    installQtTranslations(app);
    const CommandLine line = readArguments ? readCommandLine() : CommandLine();
    if (line.exitStatus >= 0)
        return line.exitStatus;

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
    if (!line.listPath.isEmpty())
        openOnEditingPage(*window, line.listPath);
    if (onWindowReady)
        onWindowReady(*window);

    // Closing the window ends the event loop with status 0. The pages hand their last
    // changes to the recovery store as it ends: those are written out however long that
    // takes, and only the way out after them is bounded.
    const int status = app.exec();
    root.reset();
    recovery.waitForWrites();
    endSoon(status);
    return status;
}
