import QtQuick 2.7

// Background of a validated field: black frame when its condition holds, red otherwise.
Rectangle {
    property bool valid: true

    radius: 2
    border.width: 1
    border.color: valid ? "#000000" : "#FF0000"
}
