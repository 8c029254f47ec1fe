// Times what a change costs the GUI thread on the editing page of a large list: the
// comparison with the list as loaded and the recovery file's text, handed to the store's
// writer; and, beside it, the write the writer then does off that thread.
// Usage: bench_recovery [repetitions]

#include "pagerecovery.h"
#include "participantlistmodel.h"
#include "samplelist.h"

#include "spread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJSEngine>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    QTemporaryDir scratch;
    QJSEngine engine;

    std::printf("%-8s %16s %16s\n", "records", "GUI thread ms", "writer ms");
    for (const int count : {10000, 100000}) {
        RecoveryStore store(scratch.filePath(QStringLiteral("recovery-%1").arg(count)));
        ParticipantListModel model;
        PageRecovery recovery;
        recovery.setPage(PageRecovery::Editing);
        recovery.setModel(&model);
        recovery.setStore(&store);
        if (!model.load(sampleList(engine, count))) {
            std::fprintf(stderr, "The sample list did not load\n");
            return 1;
        }
        recovery.markClean(scratch.filePath(QStringLiteral("list.json")));
        store.waitForWrites();

        std::vector<double> gui, writer;
        QElapsedTimer timer;
        for (int i = 0; i < repetitions; ++i) {
            // Every other edit takes the list back to the one loaded, which removes the file.
            model.editCell(0, QStringLiteral("name"),
                           i % 2 ? QStringLiteral("Иванова Мария Петровна 0")
                                 : QStringLiteral("Другое имя"));
            timer.start();
            recovery.flush();
            gui.push_back(double(timer.nsecsElapsed()) / 1e6);
            timer.start();
            store.waitForWrites();
            if (i % 2 == 0)
                writer.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (recovery.unsaved() != (i % 2 == 0)) {
                std::fprintf(stderr, "The page was not told apart from the list as loaded\n");
                return 1;
            }
        }
        std::printf("%-8d %16.1f %16.1f\n", count, spreadOf(gui).median, spreadOf(writer).median);
    }
    std::printf("(%d edits, medians; the writer's time of those that wrote the file)\n",
                repetitions);
    return 0;
}
