// Runs the program's start-up on the document given as the first argument. With
// "--close" it prints the identity strings and the window size once the first frame is
// shown, then closes the window as a user would; "--texts" prints some of Qt's own texts
// of the file dialog instead.
#include "startup.h"

#include <QCoreApplication>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <utility>

int main(int argc, char *argv[])
{
    if (argc < 2)
        return 2;
    const QUrl document = QUrl::fromUserInput(QString::fromLocal8Bit(argv[1]));
    const bool close = argc > 2 && std::strcmp(argv[2], "--close") == 0;
    const bool texts = argc > 2 && std::strcmp(argv[2], "--texts") == 0;

    return runApplication(argc, argv, document, [close, texts](QQuickWindow &window) {
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
        QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [&window] {
            static bool done = false;
            if (std::exchange(done, true))
                return;
            std::printf("%s|%s|%s|%s|%dx%d\n", qPrintable(QCoreApplication::organizationDomain()),
                        qPrintable(QCoreApplication::organizationName()),
                        qPrintable(QCoreApplication::applicationName()),
                        qPrintable(QCoreApplication::applicationVersion()), window.width(),
                        window.height());
            std::fflush(stdout);
            QTimer::singleShot(0, &window, &QWindow::close);
        });
    });
}
