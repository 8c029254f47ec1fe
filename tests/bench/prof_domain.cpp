#include "listfiltermodel.h"
#include "listhistory.h"
#include "participantlistmodel.h"
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    for (int rep = 0; rep < 3; ++rep) {
        QElapsedTimer t;
        ParticipantListModel m;
        t.start();
        m.loadFile(QString::fromLocal8Bit(argv[1]));
        double a = t.nsecsElapsed() / 1e6;
        ParticipantListModel m2;
        ListHistory h;
        h.setProperty("list", QVariant::fromValue(&m2));
        t.restart();
        h.loadFile(QString::fromLocal8Bit(argv[1]));
        double b = t.nsecsElapsed() / 1e6;
        ParticipantListModel m3;
        ListFilterModel f;
        f.setList(&m3);
        t.restart();
        m3.loadFile(QString::fromLocal8Bit(argv[1]));
        double c = t.nsecsElapsed() / 1e6;
        t.restart();
        QString s = m.toJson();
        double d = t.nsecsElapsed() / 1e6;
        std::printf("load %.1f  history+load %.1f  filter+load %.1f  toJson %.1f\n", a, b, c, d);
    }
}
