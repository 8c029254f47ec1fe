import QtQuick 2.7
import QtQuick.Controls 1.4

// No title of its own: the window shows the application name.
ApplicationWindow {
    visible: true
    width: 1024
    height: 768

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
            title: "Редактирование списка"
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
