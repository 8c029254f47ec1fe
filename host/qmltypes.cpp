#include "qmltypes.h"

#include "clipboard.h"
#include "columnfitter.h"
#include "creationpage.h"
#include "editingpage.h"
#include "listexporter.h"
#include "listfilewatch.h"
#include "listfiltermodel.h"
#include "listhistory.h"
#include "listimport.h"
#include "pagerecovery.h"
#include "participantlistmodel.h"
#include "participantrules.h"
#include "savetarget.h"
#include "tablecolumns.h"

#include <QtQml>

void registerQmlTypes()
{
    // Tests may set up more than one engine in a process; one registration serves them all.
    static const bool registered = [] {
        const char *const uri = "Quillor.Lists";
        qRegisterMetaType<ParticipantRecord>();
        qmlRegisterType<ParticipantListModel>(uri, 1, 0, "ParticipantListModel");
        qmlRegisterType<ListImport>(uri, 1, 0, "ListImport");
        qmlRegisterSingletonType<Clipboard>(
            uri, 1, 0, "Clipboard",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new Clipboard; });
        qmlRegisterType<ListFilterModel>(uri, 1, 0, "ListFilterModel");
        qmlRegisterType<ColumnFitter>(uri, 1, 0, "ColumnFitter");
        qmlRegisterType<ListHistory>(uri, 1, 0, "ListHistory");
        qmlRegisterType<ListFileWatch>(uri, 1, 0, "ListFileWatch");
        qmlRegisterType<PageRecovery>(uri, 1, 0, "PageRecovery");
        qmlRegisterType<SaveTarget>(uri, 1, 0, "SaveTarget");
        qmlRegisterType<CreationPage>(uri, 1, 0, "CreationPage");
        qmlRegisterType<EditingPage>(uri, 1, 0, "EditingPage");
        qmlRegisterSingletonType<ParticipantRules>(
            uri, 1, 0, "ParticipantRules",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new ParticipantRules; });
        qmlRegisterSingletonType<ListExporter>(
            uri, 1, 0, "ListExporter",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new ListExporter; });
        qmlRegisterSingletonType<TableColumns>(
            uri, 1, 0, "TableColumns",
            [](QQmlEngine *, QJSEngine *) -> QObject * { return new TableColumns; });
        qmlRegisterSingletonType(QUrl(QStringLiteral("qrc:/qml/Theme.qml")), uri, 1, 0, "Theme");
        return true;
    }();
    Q_UNUSED(registered)
}
