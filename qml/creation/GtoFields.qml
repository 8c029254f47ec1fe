import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import Quillor.Lists 1.0
import "../controls"

// The rows only a GTO entry has: identification number, birth date with the age and the
// step it gives, sex, bib number and athletic rank.
ColumnLayout {
    id: fields

    property int pixSize
    // Where the rank suggestions show, over what lies below the rank.
    property Item overlay
    property real labelWidth: labelImplicitWidth
    readonly property real labelImplicitWidth: Math.max(uuidRow.labelImplicitWidth,
                                                        birthDateRow.labelImplicitWidth,
                                                        ageRow.labelImplicitWidth,
                                                        sexRow.labelImplicitWidth,
                                                        stepRow.labelImplicitWidth,
                                                        pectoralRow.labelImplicitWidth,
                                                        rankRow.labelImplicitWidth)
    readonly property int age: ParticipantRules.ageFromDate(textBirthDate.text)
    readonly property bool ageAccepted: ParticipantRules.isAgeAccepted(age)
    // The texts as the record keys name them.
    readonly property string birthDate: textBirthDate.text
    readonly property string gtoUuid: textUuid.text
    readonly property string sex: comboSex.currentIndex > 0 ? comboSex.currentText : ""
    readonly property string pectoralNumber: textPectoralNumber.text
    readonly property string athleticRank: textAthleticRank.text

    spacing: pixSize

    FormRow {
        id: uuidRow
        label: "УИНН: "
        labelObjectName: "textUuidLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        MaskedField {
            id: textUuid
            objectName: "textUuid"
            Layout.fillWidth: true
            placeholderText: "УИНН..."
            Accessible.name: "УИНН"
            Accessible.description: "Идентификационный номер, 11 цифр"
            inputMask: "99999999999;"
            valid: ParticipantRules.isCompleteGtoUuid(text)
        }
    }

    FormRow {
        id: birthDateRow
        label: "Дата рождения (дд.мм.гггг):"
        labelObjectName: "textBirthDateLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        MaskedField {
            id: textBirthDate
            objectName: "textBirthDate"
            Layout.fillWidth: true
            placeholderText: "Дата рождения... (дд.мм.гггг)"
            Accessible.name: "Дата рождения"
            Accessible.description: "дд.мм.гггг; возраст и ступень следуют из неё"
            inputMask: "99.99.9999;"
            valid: fields.ageAccepted
        }
    }

    FormRow {
        id: ageRow
        label: "Возраст: "
        labelObjectName: "textAgeLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        ReadOnlyField {
            id: textAge
            objectName: "textAge"
            text: fields.age
            Accessible.name: "Возраст"
            Accessible.description: "Следует из даты рождения"
            valid: fields.ageAccepted
        }
    }

    FormRow {
        id: sexRow
        label: "Пол: "
        labelObjectName: "comboSexLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        SexComboBox {
            id: comboSex
            objectName: "comboSex"
            Layout.fillWidth: true
            pixSize: fields.pixSize
            Accessible.name: "Пол"
            Accessible.description: currentIndex > 0 ? "Выбрано: " + currentText
                                                     : "Не выбран: М или Ж"
        }
    }

    FormRow {
        id: stepRow
        label: "Ступень: "
        labelObjectName: "textStepLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        ReadOnlyField {
            id: textStep
            objectName: "textStep"
            text: ParticipantRules.plainStepText(ParticipantRules.stepFromAge(fields.age))
            Accessible.name: "Ступень"
            Accessible.description: "Следует из возраста"
        }
    }

    FormRow {
        id: pectoralRow
        label: "Нагрудный номер: "
        labelObjectName: "textPectoralNumberLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        TextField {
            id: textPectoralNumber
            objectName: "textPectoralNumber"
            Layout.fillWidth: true
            placeholderText: "Нагрудный номер..."
            Accessible.name: "Нагрудный номер"
            Accessible.description: "Необязательное поле"
        }
    }

    FormRow {
        id: rankRow
        label: "Спортивный разряд:"
        labelObjectName: "textAthleticRankLabel"
        labelWidth: fields.labelWidth
        pixSize: fields.pixSize

        // Any rank may be typed; the list only saves keys.
        TextField {
            id: textAthleticRank
            objectName: "textAthleticRank"
            Layout.fillWidth: true
            placeholderText: "Спортивный разряд..."
            Accessible.name: "Спортивный разряд"
            Accessible.description: "Необязательное поле; стрелки вниз и вверх выбирают подсказку"
            onTextChanged: rankCompletion.typed()
            onAccepted: rankCompletion.take()
            Keys.onUpPressed: rankCompletion.move(-1)
            Keys.onDownPressed: rankCompletion.move(1)
            Keys.onEscapePressed: rankCompletion.close()
        }
    }

    CompletionList {
        id: rankCompletion
        parent: fields.overlay
        field: textAthleticRank
        Accessible.name: "Подсказки разрядов"
        suggestions: ParticipantRules.rankSuggestions(textAthleticRank.text)
    }
}
