import QtQuick 2.7
import QtQuick.Controls 1.4

// A button that Return and Enter fire as well as Space, once Tab has brought the focus.
Button {
    id: button

    Keys.onReturnPressed: button.clicked()
    Keys.onEnterPressed: button.clicked()
}
