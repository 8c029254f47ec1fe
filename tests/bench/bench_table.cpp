// Times the editing table's tools on a list of 10,000 records in the real window: a sort by
// a title click, a keystroke in the find field and an undo of a delete, each to the next
// frame, and the sort and the undo alone in the list model. Needs a display (run it under
// xvfb-run). Usage: bench_table [runs] [records]
#include "listhistory.h"
#include "samplelist.h"
#include "startup.h"

#include "spread.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

struct Figures
{
    const char *what;
    std::vector<double> times;
};

void report(Figures &figures)
{
    const Spread spread = spreadOf(figures.times);
    std::printf("%-44s median %6.1f ms  min %6.1f ms  max %6.1f ms  (%zu runs)\n", figures.what,
                spread.median, spread.min, spread.max, figures.times.size());
}

// From the action to the next frame the window shows; the window is asked for a frame, so
// an action that changes nothing in sight still ends.
double toNextFrame(QQuickWindow &window, const std::function<void()> &action)
{
    QEventLoop loop;
    const auto shown =
        QObject::connect(&window, &QQuickWindow::frameSwapped, &loop, &QEventLoop::quit);
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    action();
    window.update();
    loop.exec();
    QObject::disconnect(shown);
    return clock.nsecsElapsed() / 1e6;
}

double timed(const std::function<void()> &action)
{
    QElapsedTimer clock;
    clock.start();
    action();
    return clock.nsecsElapsed() / 1e6;
}

void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Items that views make, such as the titles, are found in the item tree only.
QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

QPoint centreOf(QQuickItem *item)
{
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

void run(QQuickWindow &window, const QString &path, int records, int runs)
{
    window.findChild<QQuickItem *>(QStringLiteral("tabView"))->setProperty("currentIndex", 1);
    settle(300);
    auto *table = window.findChild<QQuickItem *>(QStringLiteral("lolView"));
    QQuickItem *page = table;
    while (page && !page->property("filePath").isValid())
        page = page->parentItem();
    auto *history = page->findChild<ListHistory *>(QStringLiteral("history"));
    auto *list = page->findChild<ParticipantListModel *>(QStringLiteral("jsonModel"));
    page->setProperty("filePath", path);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier,
                      centreOf(page->findChild<QQuickItem *>(QStringLiteral("loadButton"))));
    settle(1000);
    if (list->rowCount() != records) {
        std::fprintf(stderr, "the list did not load\n");
        return;
    }

    Figures sortClick{"sort by a title click, to the next frame", {}};
    Figures sortModel{"sort in the list model alone", {}};
    Figures keystroke{"keystroke in the find field, to the next frame", {}};
    Figures undoFrame{"undo of a delete, to the next frame", {}};
    Figures undoModel{"undo of a delete in the list model alone", {}};
    const char *const titles[] = {"header:name", "header:birthDate", "header:organization",
                                  "header:pectoralNumber"};
    for (int i = 0; i < runs; ++i) {
        QQuickItem *title = findItem(table, QLatin1String(titles[i % 4]));
        sortClick.times.push_back(toNextFrame(window, [&] {
            QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier, centreOf(title));
        }));
        settle(50);
        sortModel.times.push_back(
            timed([&] { history->sort(QStringLiteral("group"), i % 2 == 1); }));
        settle(50);
    }

    auto *find = page->findChild<QQuickItem *>(QStringLiteral("findField"));
    find->forceActiveFocus();
    settle(50);
    for (int i = 0; i < runs; ++i) {
        // Narrowing keystrokes, then the field cleared for the next run.
        for (const char key : {'s', 'm', '1'}) {
            keystroke.times.push_back(
                toNextFrame(window, [&] { QTest::keyClick(&window, key, Qt::NoModifier); }));
            settle(20);
        }
        keystroke.times.push_back(
            toNextFrame(window, [&] { QTest::keyClick(&window, Qt::Key_Escape); }));
        settle(20);
    }

    for (int i = 0; i < runs; ++i) {
        history->remove(records / 2 - i);
        settle(50);
        undoFrame.times.push_back(toNextFrame(window, [&] { history->undo(); }));
        settle(50);
        history->remove(i);
        settle(50);
        undoModel.times.push_back(timed([&] { history->undo(); }));
        settle(50);
    }
    std::printf("%d records\n", records);
    for (Figures *figures : {&sortClick, &sortModel, &keystroke, &undoFrame, &undoModel})
        report(*figures);
}

} // namespace

int main(int argc, char **argv)
{
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const int records = argc > 2 ? std::max(1, atoi(argv[2])) : 10000;
    int appArgc = 1;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.json"));
    return runApplication(appArgc, argv, QUrl(QStringLiteral("qrc:/qml/main.qml")),
                          [&](QQuickWindow &window) {
                              {
                                  QJSEngine engine;
                                  QFile file(path);
                                  if (!file.open(QIODevice::WriteOnly))
                                      return;
                                  file.write(sampleList(engine, records).toUtf8() + '\n');
                              }
                              QTimer::singleShot(500, &window, [&window, &path, records, runs] {
                                  run(window, path, records, runs);
                                  window.close();
                              });
                          });
}
