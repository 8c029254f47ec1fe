import QtQuick 2.7
import QtQuick.Controls 1.4
import Quillor.Lists 1.0
import "../controls"

// A computed value in a field's frame; disabled, so Tab passes it by.
TextField {
    id: field

    property bool valid: true

    enabled: false
    style: ValidatedFieldStyle {
        valid: field.valid
        textColor: Theme.text
    }
}
