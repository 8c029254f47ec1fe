import QtQuick 2.7
import QtQuick.Controls 1.4

// A text field whose frame turns red while its condition does not hold.
TextField {
    id: field

    property bool valid: true

    style: ValidatedFieldStyle {
        valid: field.valid
    }
}
