import QtQuick 2.7
import QtQuick.Controls 1.4

// The smallest window of the same kind as the program's: the yardstick for start-up time.
ApplicationWindow {
    visible: true
    width: 1024
    height: 768

    TabView {
        anchors.fill: parent
        Tab {
            title: "Первая"
        }
        Tab {
            title: "Вторая"
        }
    }
}
