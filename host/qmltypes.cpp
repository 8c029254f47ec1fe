#include "qmltypes.h"

#include "participantlistmodel.h"

#include <QtQml>

void registerQmlTypes()
{
    // Tests may set up more than one engine in a process; one registration serves them all.
    static const bool registered = [] {
        qmlRegisterType<ParticipantListModel>("Quillor.Lists", 1, 0, "ParticipantListModel");
        return true;
    }();
    Q_UNUSED(registered)
}
