// Another desk with a copy of the program: loads the list at PATH as the editing page
// does, adds a training record named NAME and saves, in a process of its own.
#include "listfilewatch.h"
#include "listhistory.h"
#include "participantlistmodel.h"
#include "participantrules.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 100;
    const QString path = QString::fromLocal8Bit(argv[1]);
    ParticipantListModel model;
    ListHistory history;
    history.setList(&model);
    ListFileWatch watch;
    if (!watch.load(&history, path))
        return 101;
    model.append(ParticipantRules::trainingRecord(
        QStringLiteral("5Б"), QString::fromLocal8Bit(argv[2]), QStringLiteral("Стол 2")));
    return watch.save(&model, path);
}
