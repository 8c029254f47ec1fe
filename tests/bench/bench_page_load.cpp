// Times the editing page of the real window on a list of many records, each run in a fresh
// process, with the software renderer and with OpenGL:
//   load    from the press of "Загрузить список" to the first frame with the rows, beside the
//           same list shown the straightforward way (the script engine's JSON.parse into a
//           ListModel behind the same table and cells), and our time as a share of it
//   scroll  the loaded table moved a page at a time, each page to its frame
//   save    from the press of "Сохранить список" to the file being complete
//   memory  the peak resident memory of the process once the list is shown
// Needs a display (run it under xvfb-run). Usage: bench_page_load MODE [runs] [records]
#include "samplelist.h"
#include "spread.h"
#include "startup.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
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

void click(QQuickWindow &window, QQuickItem *item)
{
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centre.toPoint());
}

long peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// One measurement in this process: prints its figures, one a line, or nothing on failure.
int measureOnce(int argc, char **argv, const QString &mode, const QString &path, int records,
                bool anchor)
{
    const QUrl document(anchor ? QStringLiteral("qrc:/anchor/AnchorMain.qml")
                               : QStringLiteral("qrc:/qml/main.qml"));
    return runApplication(argc, argv, document, [=](QQuickWindow &window) {
        auto *poll = new QTimer(&window);
        QObject::connect(poll, &QTimer::timeout, &window, [=, &window] {
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
            auto *clock = new QElapsedTimer;
            auto *pages = new int(0);

            // What comes after the rows are shown, frame by frame; `ms` is the time from the
            // last action to the frame that showed it. True when the run is over.
            auto next = [=, &window](double ms) {
                if (mode == QLatin1String("load")) {
                    std::printf("%.1f\n", ms);
                } else if (mode == QLatin1String("memory")) {
                    std::printf("%.1f\n", peakResidentKb() / 1024.0);
                } else if (mode == QLatin1String("save")) {
                    page->setProperty("filePath", path + QStringLiteral(".saved"));
                    QElapsedTimer saving;
                    saving.start();
                    // The creation page has a button of that name too.
                    click(window, page->findChild<QQuickItem *>(QStringLiteral("saveButton")));
                    const double ms = saving.nsecsElapsed() / 1e6;
                    if (QFileInfo(path + QStringLiteral(".saved")).size() > 0)
                        std::printf("%.1f\n", ms);
                } else if (mode == QLatin1String("scroll")) {
                    QObject *flick = table->property("flickableItem").value<QObject *>();
                    const qreal page = table->property("viewport").value<QQuickItem *>()->height();
                    if (*pages > 0)
                        std::printf("%.2f\n", ms);
                    if (++*pages <= 40) {
                        clock->start();
                        flick->setProperty("contentY", flick->property("contentY").toReal() + page);
                        return false;
                    }
                }
                return true;
            };
            auto *waiting = new bool(false);
            QObject::connect(&window, &QQuickWindow::frameSwapped, &window, [=, &window] {
                if (*waiting || !clock->isValid() || model->property("count").toInt() != records)
                    return;
                const double ms = clock->nsecsElapsed() / 1e6;
                // The steps after the load begin once the first frames have settled.
                *waiting = true;
                QTimer::singleShot(*pages > 0 || mode == QLatin1String("load") ? 0 : 300, &window,
                                   [=, &window] {
                                       *waiting = false;
                                       if (!next(ms))
                                           return;
                                       std::fflush(stdout);
                                       clock->invalidate();
                                       QTimer::singleShot(0, &window, &QWindow::close);
                                   });
            });
            // Let the page settle into its first frames before the press.
            QTimer::singleShot(500, &window, [=, &window] {
                clock->start();
                click(window, button);
            });
        });
        poll->start(20);
    });
}

struct Run
{
    std::vector<double> figures;
    bool ok = false;
};

Run runChild(const QString &self, const QStringList &arguments, bool software, const QString &data)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (software)
        env.insert(QStringLiteral("QT_QUICK_BACKEND"), QStringLiteral("software"));
    else
        env.remove(QStringLiteral("QT_QUICK_BACKEND"));
    // The runs' recovery folder is a scratch one, not the user's.
    env.insert(QStringLiteral("XDG_DATA_HOME"), data);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(self, arguments);
    Run run;
    if (!child.waitForFinished(300000) || child.exitCode() != 0) {
        std::fprintf(stderr, "a run failed: %s\n", child.readAllStandardError().constData());
        return run;
    }
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        bool ok = false;
        const double value = line.trimmed().toDouble(&ok);
        if (ok)
            run.figures.push_back(value);
    }
    run.ok = !run.figures.empty();
    return run;
}

void print(const char *what, const char *renderer, const std::vector<double> &values,
           const char *unit)
{
    const Spread spread = spreadOf(values);
    std::printf("%-22s %-9s median %8.1f %s  min %8.1f  max %8.1f  (%zu)\n", what, renderer,
                spread.median, unit, spread.min, spread.max, values.size());
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 6 && qstrcmp(argv[1], "--once") == 0) {
        int childArgc = 1;
        return measureOnce(childArgc, argv, QString::fromLatin1(argv[2]),
                           QString::fromLocal8Bit(argv[3]), atoi(argv[4]),
                           qstrcmp(argv[5], "anchor") == 0);
    }

    QCoreApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QStringLiteral("load");
    if (!QStringList({"load", "scroll", "save", "memory"}).contains(mode)) {
        std::fprintf(stderr, "usage: bench_page_load load|scroll|save|memory [runs] [records]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 9;
    const int records = argc > 3                          ? std::max(1, atoi(argv[3]))
                        : mode == QLatin1String("memory") ? 100000
                                                          : 10000;

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.json"));
    {
        QJSEngine engine;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        file.write(sampleList(engine, records).toUtf8() + '\n');
    }
    const QString data = dir.filePath(QStringLiteral("data"));
    std::printf("%s, %d records, %d runs\n", qPrintable(mode), records, runs);
    for (const bool software : {true, false}) {
        const char *renderer = software ? "software" : "opengl";
        std::vector<double> ours, anchor;
        for (int i = 0; i < runs; ++i) {
            const QStringList arguments = {QStringLiteral("--once"), mode, path,
                                           QString::number(records), QStringLiteral("ours")};
            const Run run = runChild(app.applicationFilePath(), arguments, software, data);
            if (!run.ok)
                return 1;
            ours.insert(ours.end(), run.figures.begin(), run.figures.end());
            // The yardstick runs alternately with ours, so that both meet the same machine.
            if (mode != QLatin1String("load"))
                continue;
            QStringList anchored = arguments;
            anchored.last() = QStringLiteral("anchor");
            const Run other = runChild(app.applicationFilePath(), anchored, software, data);
            if (!other.ok)
                return 1;
            anchor.insert(anchor.end(), other.figures.begin(), other.figures.end());
        }
        const char *unit = mode == QLatin1String("memory") ? "MB" : "ms";
        print(qPrintable(mode), renderer, ours, unit);
        if (!anchor.empty()) {
            print("load, JSON.parse anchor", renderer, anchor, unit);
            std::printf("%-22s %-9s ours / anchor = %.2f\n", "", renderer,
                        spreadOf(ours).median / spreadOf(anchor).median);
        }
    }
    return 0;
}
