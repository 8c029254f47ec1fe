import QtQuick 2.7
import QtQuick.Controls 1.4

// The yardstick for loading a list: the program's window with an editing page built the
// straightforward way.
ApplicationWindow {
    visible: true
    width: 1024
    height: 768

    TabView {
        objectName: "tabView"
        anchors.fill: parent

        Tab {
            title: "Создание списка"
            Item {}
        }
        Tab {
            title: "Редактирование списка"
            AnchorPage {}
        }
    }
}
