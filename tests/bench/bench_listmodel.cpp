// Times loading and writing participant lists through the editing table's model, beside
// the script engine's JSON.parse and JSON.stringify of the same text in the same run.
// Usage: bench_listmodel [repetitions]

#include "participantlistmodel.h"
#include "samplelist.h"

#include "spread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJSEngine>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 7;

    QJSEngine engine;
    QJSValue parse = engine.evaluate(
        QStringLiteral("(function (text) { parsed = JSON.parse(text); return parsed.length; })"));
    QJSValue stringify = engine.evaluate(QStringLiteral(
        "(function () { written = JSON.stringify(parsed); return written.length; })"));

    std::printf("%-8s %-6s %12s %12s %7s\n", "records", "step", "model ms", "script ms", "ratio");
    for (const int count : {10000, 100000}) {
        const QString text = sampleList(engine, count);
        std::vector<double> modelLoad, modelWrite, scriptParse, scriptWrite;
        // As on the page, every load after the first replaces rows already there.
        ParticipantListModel model;
        for (int i = 0; i < repetitions; ++i) {
            bool loaded = false;
            modelLoad.push_back(millisecondsOf([&] { loaded = model.load(text); }));
            QString written;
            modelWrite.push_back(millisecondsOf([&] { written = model.toJson(); }));
            if (!loaded || written != text) {
                std::fprintf(stderr, "The model did not give back the list it loaded\n");
                return 1;
            }

            QJSValue length;
            scriptParse.push_back(millisecondsOf([&] { length = parse.call({text}); }));
            if (length.toInt() != count) {
                std::fprintf(stderr, "JSON.parse gave %d records\n", length.toInt());
                return 1;
            }
            scriptWrite.push_back(millisecondsOf([&] { length = stringify.call(); }));
            if (length.toInt() != text.size()) {
                std::fprintf(stderr, "JSON.stringify gave another text\n");
                return 1;
            }
            engine.collectGarbage();
        }
        const auto report = [count](const char *step, const std::vector<double> &model,
                                    const std::vector<double> &script) {
            const double m = spreadOf(model).median;
            const double s = spreadOf(script).median;
            std::printf("%-8d %-6s %12.1f %12.1f %7.2f\n", count, step, m, s, m / s);
        };
        report("load", modelLoad, scriptParse);
        report("write", modelWrite, scriptWrite);
        std::printf("(%d repetitions, %.1f MB of list text)\n", repetitions,
                    double(text.toUtf8().size()) / 1e6);
    }
    return 0;
}
