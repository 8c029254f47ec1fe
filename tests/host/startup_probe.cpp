// Runs the program's start-up on the document given as the first argument. With
// "--close" it prints the identity strings, the window size and the C library's numeric
// locale once the first frame is shown, then closes the window as a user would; with
// "--copy" it also puts text on the clipboard first; "--texts" prints some of Qt's own
// texts of the file dialog instead; "--save PATH SIZE" saves a text of SIZE characters to
// PATH through FileIO, prints the result and closes the window. "--open ARGUMENTS..." hands
// the arguments to the program as its own; once the editing page could have loaded a list it
// prints the current tab, the editing page's path, its number of records and its load
// notice, if shown, and closes the window.
#include "fileio.h"
#include "startup.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>
#include <QVariant>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

QString text(QObject *object, const char *property)
{
    return object ? object->property(property).toString() : QStringLiteral("?");
}

// Queued after the start-up's own load, which the first frame sets off.
void printEditingPage(QQuickWindow &window)
{
    QObject::connect(
        &window, &QQuickWindow::frameSwapped, &window,
        [&window] {
            static bool done = false;
            if (std::exchange(done, true))
                return;
            QObject *model = window.findChild<QObject *>(QStringLiteral("jsonModel"));
            QObject *page = model ? model->parent() : nullptr;
            QObject *notice =
                page ? page->findChild<QObject *>(QStringLiteral("loadFailureLabel")) : nullptr;
            const bool shown = notice && notice->property("visible").toBool();
            QObject *field =
                page ? page->findChild<QObject *>(QStringLiteral("loadFileTextField")) : nullptr;
            const QStringList parts{
                text(window.findChild<QObject *>(QStringLiteral("tabView")), "currentIndex"),
                text(field, "text"), text(model, "count"),
                shown ? text(notice->findChild<QObject *>(QStringLiteral("detail")), "text")
                      : QString()};
            // UTF-8 whatever the locale, for the paths' Cyrillic letters.
            std::printf("%s\n", parts.join(QLatin1Char('|')).toUtf8().constData());
            std::fflush(stdout);
            QTimer::singleShot(0, &window, &QWindow::close);
        },
        Qt::QueuedConnection);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const QUrl document = QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]));
    const bool copy = argc > 2 && std::strcmp(argv[2], "--copy") == 0;
    const bool close = copy || (argc > 2 && std::strcmp(argv[2], "--close") == 0);
    const bool texts = argc > 2 && std::strcmp(argv[2], "--texts") == 0;
    const bool save = argc > 4 && std::strcmp(argv[2], "--save") == 0;
    const QString savePath = save ? QString::fromLocal8Bit(argv[3]) : QString();
    const int saveSize = save ? std::atoi(argv[4]) : 0;
    if (argc > 2 && std::strcmp(argv[2], "--open") == 0) {
        std::vector<char *> arguments{argv[0]};
        arguments.insert(arguments.end(), argv + 3, argv + argc);
        int count = int(arguments.size());
        arguments.push_back(nullptr);
        return runApplication(count, arguments.data(), document, printEditingPage, true);
    }

    return runApplication(argc, argv, document, [=](QQuickWindow &window) {
        if (save) {
            FileIO io;
            std::printf("%d\n", io.save(savePath, QString(saveSize, QLatin1Char('n'))));
            std::fflush(stdout);
            QTimer::singleShot(0, &window, &QWindow::close);
            return;
        }
        if (texts) {
            std::printf("%s|%s|%s|%s\n",
                        qPrintable(QCoreApplication::translate("DefaultFileDialog", "Filename")),
                        qPrintable(QCoreApplication::translate("DefaultFileDialog", "Cancel")),
                        qPrintable(QCoreApplication::translate("QFileDialog", "All Files (*)")),
                        qPrintable(QCoreApplication::translate("QStandardPaths", "Home")));
            std::fflush(stdout);
            QTimer::singleShot(0, &window, &QWindow::close);
            return;
        }
        if (!close)
            return;
        QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&window, copy] {
            static bool done = false;
            if (std::exchange(done, true))
                return;
            std::printf("%s|%s|%s|%s|%dx%d|%s\n",
                        qPrintable(QCoreApplication::organizationDomain()),
                        qPrintable(QCoreApplication::organizationName()),
                        qPrintable(QCoreApplication::applicationName()),
                        qPrintable(QCoreApplication::applicationVersion()), window.width(),
                        window.height(), std::setlocale(LC_NUMERIC, nullptr));
            std::fflush(stdout);
            if (copy)
                QGuiApplication::clipboard()->setText(QStringLiteral("Иванова Мария"));
            QTimer::singleShot(0, &window, &QWindow::close);
        });
    });
}
