import QtQuick 2.7
import QtQuick.Controls.Styles 1.4

// Text field look whose frame tells whether the field's condition holds.
TextFieldStyle {
    id: fieldStyle

    property bool valid: true

    background: ValidationFrame {
        objectName: "validationFrame"
        valid: fieldStyle.valid
    }
}
