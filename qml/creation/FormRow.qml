import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3

// A label and the field declared inside the row. The form hands every row the same label
// width, so the fields line up as in a grid column.
RowLayout {
    id: row

    property alias label: labelItem.text
    property alias labelObjectName: labelItem.objectName
    readonly property real labelImplicitWidth: labelItem.implicitWidth
    property real labelWidth: labelImplicitWidth
    property int pixSize

    Layout.fillWidth: true
    spacing: pixSize

    Label {
        id: labelItem
        Layout.preferredWidth: row.labelWidth
        font.pixelSize: row.pixSize
    }
}
