// Times an import from file to preview: reading, guessing the columns, making the records
// and the preview's first rows and problems, for a large CSV and a large .xlsx written by
// other programs; then the records' way into the list, and how soon a cancelled reading
// on its thread ends.
// Usage: bench_import [repetitions]

#include "listimport.h"
#include "participantlistmodel.h"

#include "spread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const int csvRows = 100000;
    const int xlsxRows = 10000;

    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("list.csv"));
    const QString xlsx = dir.filePath(QStringLiteral("list.xlsx"));
    QProcess writer;
    writer.setProcessChannelMode(QProcess::ForwardedChannels);
    writer.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral(MAKE_BENCH_TABLES), csv, QString::number(csvRows), xlsx,
                  QString::number(xlsxRows)});
    if (!writer.waitForFinished(300000) || writer.exitCode() != 0) {
        std::fprintf(stderr, "The tables could not be written\n");
        return 1;
    }

    std::printf("%-6s %8s %10s %10s %12s\n", "file", "rows", "median ms", "worst ms",
                "add to list");
    for (const auto &file : {std::make_pair(csv, csvRows), std::make_pair(xlsx, xlsxRows)}) {
        std::vector<double> times, adds;
        for (int i = 0; i < repetitions; ++i) {
            ListImport import;
            QElapsedTimer timer;
            timer.start();
            const bool opened = import.openFile(file.first);
            // What the preview shows.
            const int shown = import.sample().size() + import.headers().size() +
                              import.problems().size() + import.meanings().size();
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (!opened || import.rowCount() != file.second || shown == 0 ||
                import.problemCount() != 0) {
                std::fprintf(stderr, "%s: %s, %d rows, %d problems\n", qPrintable(file.first),
                             qPrintable(import.failure()), import.rowCount(),
                             import.problemCount());
                return 1;
            }
            ParticipantListModel model;
            timer.restart();
            import.addTo(&model);
            adds.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (model.rowCount() != file.second)
                return 1;
        }
        std::printf("%-6s %8d %10.0f %10.0f %12.0f\n", qPrintable(file.first.section('.', -1)),
                    file.second, spreadOf(times).median,
                    *std::max_element(times.begin(), times.end()), spreadOf(adds).median);
    }

    // A reading on its thread, cancelled a moment in: how long its thread takes to end.
    std::printf("\n%-6s %10s %10s\n", "cancel", "median ms", "worst ms");
    for (const QString &file : {csv, xlsx}) {
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            ListImport import;
            import.startFile(file);
            QThread::msleep(30);
            QElapsedTimer timer;
            timer.start();
            import.cancelReading();
            while (!import.findChildren<QThread *>().isEmpty())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (import.ready())
                return 1;
        }
        std::printf("%-6s %10.1f %10.1f\n", qPrintable(file.section('.', -1)),
                    spreadOf(times).median, *std::max_element(times.begin(), times.end()));
    }
    return 0;
}
