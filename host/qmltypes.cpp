#include "qmltypes.h"

#include "listexporter.h"
#include "pagerecovery.h"
#include "participantlistmodel.h"
#include "participantrules.h"

#include <QtQml>

void registerQmlTypes()
{
    // Tests may set up more than one engine in a process; one registration serves them all.
    static const bool registered = [] {
        const char *const uri = "Quillor.Lists";
        qRegisterMetaType<ParticipantRecord>();
        qmlRegisterType<ParticipantListModel>(uri, 1, 0, "ParticipantListModel");
        qmlRegisterType<PageRecovery>(uri, 1, 0, "PageRecovery");
        qmlRegisterSingletonType<ParticipantRules>(
            uri, 1, 0, "ParticipantRules",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new ParticipantRules; });
        qmlRegisterSingletonType<ListExporter>(
            uri, 1, 0, "ListExporter",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new ListExporter; });
        qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/qml/Theme.qml")), uri, 1, 0, "Theme");
        return true;
    }();
    Q_UNUSED(registered)
}
