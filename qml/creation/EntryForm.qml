import QtQuick 2.7
import QtQuick.Layouts 1.3
import "../controls"

// The fields of one new participant. Which rows show follows the mode; hidden rows keep
// their text.
ColumnLayout {
    id: form

    property int pixSize
    property bool isGto: true
    // An item above the whole form, for lists that open over it.
    property Item overlay
    // The form's texts under the record keys, for the rules and the record builders.
    readonly property var values: ({
        birthDate: gtoFields.birthDate,
        organization: textOrganization.text,
        group: textGroup.text,
        gtoUuid: gtoFields.gtoUuid,
        name: textName.text,
        sex: gtoFields.sex,
        pectoralNumber: gtoFields.pectoralNumber,
        athleticRank: gtoFields.athleticRank
    })
    // Where a keyboard user starts an entry.
    readonly property Item firstField: textOrganization
    readonly property real labelWidth: Math.max(organizationRow.labelImplicitWidth,
                                                nameRow.labelImplicitWidth,
                                                isGto ? gtoFields.labelImplicitWidth
                                                      : groupRow.labelImplicitWidth)

    spacing: pixSize

    FormRow {
        id: organizationRow
        label: "Организация: "
        labelWidth: form.labelWidth
        pixSize: form.pixSize

        ValidatedTextField {
            id: textOrganization
            objectName: "textOrganization"
            Layout.fillWidth: true
            placeholderText: "Организация..."
            Accessible.name: "Организация"
            Accessible.description: "Обязательное поле"
            valid: text !== ""
        }
    }

    FormRow {
        id: groupRow
        visible: !form.isGto
        label: "Группа (Класс): "
        labelObjectName: "textGroupLabel"
        labelWidth: form.labelWidth
        pixSize: form.pixSize

        ValidatedTextField {
            id: textGroup
            objectName: "textGroup"
            Layout.fillWidth: true
            placeholderText: "Группа (Класс)..."
            Accessible.name: "Группа (класс)"
            Accessible.description: "Обязательное поле"
            valid: text !== ""
        }
    }

    FormRow {
        id: nameRow
        label: "Ф.И.О:"
        labelWidth: form.labelWidth
        pixSize: form.pixSize

        ValidatedTextField {
            id: textName
            objectName: "textName"
            Layout.fillWidth: true
            placeholderText: "Ф.И.О...."
            Accessible.name: "Фамилия, имя, отчество"
            Accessible.description: "Обязательное поле"
            valid: text !== ""
        }
    }

    GtoFields {
        id: gtoFields
        visible: form.isGto
        Layout.fillWidth: true
        labelWidth: form.labelWidth
        pixSize: form.pixSize
        overlay: form.overlay
    }
}
