// Times the three exports of a list of 10,000 records, from the table's model to the file,
// as the editing page runs them.
// Usage: bench_export [repetitions] [folder to keep the files in]

#include "listexporter.h"
#include "participantlistmodel.h"
#include "samplelist.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJSEngine>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir scratch;
    const QString folder = argc > 2 ? QString::fromLocal8Bit(argv[2]) : scratch.path();

    QJSEngine engine;
    const int count = 10000;
    ParticipantListModel model;
    if (!model.load(sampleList(engine, count))) {
        std::fprintf(stderr, "The sample list did not load\n");
        return 1;
    }

    const struct
    {
        ListExporter::Format format;
        const char *name;
        double limit;
    } formats[] = {{ListExporter::Excel, "xlsx", 1000},
                   {ListExporter::Csv, "csv", 200},
                   {ListExporter::Pdf, "pdf", 3000}};
    ListExporter exporter;
    std::printf("%-8s %-6s %10s %10s %10s %10s\n", "records", "format", "first ms", "median ms",
                "limit ms", "MB");
    for (const auto &f : formats) {
        const QString path = folder + QStringLiteral("/list.") + QLatin1String(f.name);
        std::vector<double> times;
        for (int i = 0; i < repetitions; ++i) {
            QElapsedTimer timer;
            timer.start();
            const int result = exporter.save(&model, f.format, QUrl::fromLocalFile(path),
                                             QStringLiteral("/tmp/Список.json"));
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
            if (result != ListExporter::Ok) {
                std::fprintf(stderr, "Export to %s failed with %d\n", f.name, result);
                return 1;
            }
        }
        const double first = times.front();
        std::sort(times.begin(), times.end());
        std::printf("%-8d %-6s %10.1f %10.1f %10.0f %10.2f\n", count, f.name, first,
                    times[times.size() / 2], f.limit, double(QFileInfo(path).size()) / 1e6);
    }
    std::printf("(%d repetitions)\n", repetitions);
    return 0;
}
