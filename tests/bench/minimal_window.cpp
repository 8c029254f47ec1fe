// A bare Qt Quick Controls window, started the way the program starts its own.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseOpenGLES, true);
    QGuiApplication app(argc, argv);
    QQmlEngine engine;
    QQmlComponent component(&engine, QUrl(QStringLiteral("qrc:/minimal/minimal_window.qml")));
    std::unique_ptr<QObject> window(component.create());
    if (!window)
        return -1;
    return app.exec();
}
