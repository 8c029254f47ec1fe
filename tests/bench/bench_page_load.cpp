// Times loading a list on the editing page of the real window: from the press of
// "Загрузить список" to the first frame that shows the rows. Each run is a fresh process.
// Needs a display (run it under xvfb-run). Usage: bench_page_load [runs] [records]
#include "samplelist.h"
#include "spread.h"
#include "startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QQuickItem *findItem(QQuickWindow &window, const char *name)
{
    return window.findChild<QQuickItem *>(QLatin1String(name));
}

// One load in this process; prints the milliseconds, or nothing on failure.
int measureOnce(int argc, char **argv, const QString &path, int records)
{
    return runApplication(
        argc, argv, QUrl(QStringLiteral("qrc:/qml/main.qml")),
        [path, records](QQuickWindow &window) {
            auto *poll = new QTimer(&window);
            QObject::connect(poll, &QTimer::timeout, &window, [&window, poll, path, records] {
                if (QQuickItem *tabs = findItem(window, "tabView"))
                    tabs->setProperty("currentIndex", 1);
                QQuickItem *table = findItem(window, "lolView");
                QQuickItem *button = table ? findItem(window, "loadButton") : nullptr;
                if (!button)
                    return;
                poll->stop();
                QQuickItem *page = table;
                while (page && !page->property("filePath").isValid())
                    page = page->parentItem();
                page->setProperty("filePath", path);
                QObject *model = page->findChild<QObject *>(QStringLiteral("jsonModel"));

                // Let the page settle into its first frames before the press.
                QTimer::singleShot(500, &window, [&window, button, model, records] {
                    auto *clock = new QElapsedTimer;
                    QObject::connect(&window, &QQuickWindow::frameSwapped, &window,
                                     [&window, clock, model, records] {
                                         if (!clock->isValid() ||
                                             model->property("count").toInt() != records)
                                             return;
                                         std::printf("%.1f\n", clock->nsecsElapsed() / 1e6);
                                         std::fflush(stdout);
                                         clock->invalidate();
                                         QTimer::singleShot(0, &window, &QWindow::close);
                                     });
                    const QPointF centre =
                        button->mapToScene(QPointF(button->width() / 2, button->height() / 2));
                    clock->start();
                    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
                });
            });
            poll->start(20);
        });
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--once") == 0) {
        int childArgc = 1;
        return measureOnce(childArgc, argv, QString::fromLocal8Bit(argv[2]), atoi(argv[3]));
    }

    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const int records = argc > 2 ? std::max(1, atoi(argv[2])) : 10000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.json"));
    {
        QJSEngine engine;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(sampleList(engine, records).toUtf8() + '\n');
    }

    // The runs' recovery folder is a scratch one, not the user's.
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(app.applicationFilePath(),
                    {QStringLiteral("--once"), path, QString::number(records)});
        bool ok = false;
        if (child.waitForFinished(120000) && child.exitCode() == 0)
            times.push_back(child.readAllStandardOutput().trimmed().toDouble(&ok));
        if (!ok) {
            std::fprintf(stderr, "run %d failed: %s\n", i + 1,
                         child.readAllStandardError().constData());
            return 1;
        }
    }
    const Spread spread = spreadOf(times);
    std::printf("%d records, press to first frame with the rows: runs %d  median %.1f ms  "
                "min %.1f ms  max %.1f ms\n",
                records, runs, spread.median, spread.min, spread.max);
    return 0;
}
