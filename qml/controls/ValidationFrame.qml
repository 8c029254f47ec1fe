import QtQuick 2.7
import Quillor.Lists 1.0

// Background of a validated field: black frame when its condition holds, red otherwise.
Rectangle {
    property bool valid: true

    radius: 2
    border.width: 1
    border.color: valid ? Theme.valid : Theme.invalid
}
