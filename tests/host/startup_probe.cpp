// Runs the program's start-up on the document given as the first argument. With
// "--close" it prints the identity strings, the window size and the C library's numeric
// locale once the first frame is shown, then closes the window as a user would; with
// "--copy" it also puts text on the clipboard first; "--texts" prints some of Qt's own
// texts of the file dialog instead; "--save PATH SIZE" saves a text of SIZE characters to
// PATH through FileIO, prints the result and closes the window.
#include "fileio.h"
#include "startup.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

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
