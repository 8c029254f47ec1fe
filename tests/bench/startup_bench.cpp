// Measures the time from process start to the first rendered frame of a window, for
// several programs run alternately, and prints median, minimum and maximum per program.
// Needs a display (run it under xvfb-run). Usage: startup_bench RUNS PROGRAM...
// The frame is seen from outside through Qt's own scene graph timing log.
#include "spread.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Milliseconds to the first frame that was really rendered, or -1.
double timeToFirstFrame(const QString &program)
{
    QTemporaryDir runtime;
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(
        QStringLiteral("QT_LOGGING_RULES"),
        QStringLiteral("qt.scenegraph.time.renderer=true\nqt.scenegraph.time.renderloop=true"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), runtime.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(env);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setReadChannel(QProcess::StandardError);

    QElapsedTimer clock;
    clock.start();
    process.start(program, QStringList());
    bool rendered = false;
    double result = -1;
    while (result < 0 && (process.canReadLine() || process.waitForReadyRead(30000))) {
        while (result < 0 && process.canReadLine()) {
            const QByteArray line = process.readLine();
            if (line.contains("time in renderer"))
                rendered = true;
            else if (rendered && line.contains("Frame rendered"))
                result = clock.nsecsElapsed() / 1e6;
        }
    }
    process.kill();
    process.waitForFinished();
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2) {
        std::fprintf(stderr, "usage: startup_bench RUNS PROGRAM...\n");
        return 2;
    }
    const int runs = args.first().toInt();
    const QStringList programs = args.mid(1);
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (int i = 0; i < programs.size(); ++i) {
            const double ms = timeToFirstFrame(programs[i]);
            if (ms < 0) {
                std::fprintf(stderr, "%s showed no frame\n", qPrintable(programs[i]));
                return 1;
            }
            times[i].push_back(ms);
        }
    }
    std::vector<double> medians;
    for (int i = 0; i < programs.size(); ++i) {
        const Spread spread = spreadOf(times[i]);
        medians.push_back(spread.median);
        std::printf("%-60s runs %d  median %.1f ms  min %.1f ms  max %.1f ms\n",
                    qPrintable(programs[i]), runs, spread.median, spread.min, spread.max);
    }
    for (int i = 1; i < programs.size(); ++i)
        std::printf("median of %s / median of %s = %.2f\n", qPrintable(programs[0]),
                    qPrintable(programs[i]), medians[0] / medians[i]);
    return 0;
}
