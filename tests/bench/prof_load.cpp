#include "startup.h"
#include <QCoreApplication>
#include <QFile>
#include <QElapsedTimer>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include <cstdio>
#include <ctime>
static double mono(){timespec t; clock_gettime(CLOCK_MONOTONIC,&t); return t.tv_sec + t.tv_nsec/1e9;}
static QQuickItem *findItem(QQuickWindow &w, const char *n) { return w.findChild<QQuickItem *>(QLatin1String(n)); }
int main(int, char **argv)
{
    const QString pathA = QString::fromLocal8Bit(argv[1]);
    const QString pathB = QString::fromLocal8Bit(argv[2]);
    const int loops = atoi(argv[3]);
    int one = 1;
    return runApplication(one, argv, QUrl(QStringLiteral("qrc:/qml/main.qml")), [=](QQuickWindow &window) {
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, pathA, pathB, loops] {
            if (QQuickItem *tabs = findItem(window, "tabView")) tabs->setProperty("currentIndex", 1);
            QQuickItem *table = findItem(window, "lolView");
            if (!table) return;
            poll->stop();
            QQuickItem *page = table;
            while (page && !page->property("filePath").isValid()) page = page->parentItem();
            auto *n = new int(0);
            auto *clock = new QElapsedTimer;
            auto step = [&window, page, pathA, pathB, loops, n, clock]() {
                if (*n >= loops) { QFile f("/proc/self/status"); f.open(QIODevice::ReadOnly); for (const QByteArray &l : f.readAll().split('\n')) if (l.startsWith("VmHWM") || l.startsWith("VmRSS")) std::printf("%s\n", l.constData()); QTimer::singleShot(0, &window, &QWindow::close); return; }
                page->setProperty("filePath", (*n % 2) ? pathB : pathA);
                clock->start();
                std::printf("start %.6f\n", mono());
                QMetaObject::invokeMethod(page, "loadList");
                ++*n;
            };
            QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [clock, n, step, &window]() {
                if (!clock->isValid()) return;
                std::printf("end %.6f load %d: %.1f ms\n", mono(), *n, clock->nsecsElapsed() / 1e6);
                clock->invalidate();
                QTimer::singleShot(50, &window, step);
            });
            QTimer::singleShot(500, &window, step);
        });
        poll->start(20);
    });
}
