#include "listfiltermodel.h"
#include "listhistory.h"
#include "participantlistmodel.h"
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <malloc.h>
static long rssKb() { QFile f("/proc/self/status"); f.open(QIODevice::ReadOnly); for (const QByteArray &l : f.readAll().split('\n')) if (l.startsWith("VmRSS")) return l.mid(6).trimmed().split(' ').first().toLong(); return 0; }
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ParticipantListModel m;
    ListHistory h; h.setList(&m);
    ListFilterModel f; 
    long r0 = rssKb();
    h.loadFile(QString::fromLocal8Bit(argv[1]));
    malloc_trim(0);
    long r1 = rssKb();
    f.setList(&m);
    malloc_trim(0);
    long r2 = rssKb();
    QString s = m.toJson();
    long r3 = rssKb();
    std::printf("base %ld  +rows&history %ld  +filter %ld  +json(QString) %ld  (KB)\n", r0, r1 - r0, r2 - r1, r3 - r2);
}
