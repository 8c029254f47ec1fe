import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0

// No title of its own: the window shows the application name.
ApplicationWindow {
    visible: true
    width: 1024
    height: 768

    // The editing page is made when its tab is first opened; until then its offer of an
    // unsaved list is told by a mark on its tab, and by the creation page's bar.
    PageRecovery {
        id: editingOffer
        store: RecoveryStore
        page: PageRecovery.Editing
    }

    TabView {
        id: tabView
        objectName: "tabView"
        anchors.fill: parent

        // Tabs create their page when first shown and keep it afterwards.
        Tab {
            title: "Создание списка"
            Page1 {}
        }
        Tab {
            objectName: "editingTab"
            title: "Редактирование списка" + (editingOffer.hasOffer ? " •" : "")
            Page2 {}
        }
    }

    // Makes the editing page the current tab and returns it, for a list named on the
    // command line.
    function showEditingPage() {
        tabView.currentIndex = 1;
        return tabView.getTab(1).item;
    }
}
