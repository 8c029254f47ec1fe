import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Layouts 1.3
import QtQml.Models 2.2
import Quillor.Lists 1.0

// The creation page: one participant at a time into a validating form, the list beside it.
FocusScope {
    id: root

    property var items: []
    property alias filePath: pathRow.filePath
    property int pixSize: Math.floor(height / 24 / 2)

    readonly property string organization: ParticipantRules.trimName(textOrganization.text)
    readonly property string group: ParticipantRules.trimName(textGroup.text)
    readonly property string name: ParticipantRules.trimName(textName.text)
    readonly property bool isGto: gtoRadioButton.checked

    // The form as record keys and typed texts, for the rules and the record builders.
    readonly property var form: ({
        birthDate: textBirthDate.text,
        organization: textOrganization.text,
        group: textGroup.text,
        gtoUuid: textUuid.text,
        name: textName.text,
        sex: comboSex.currentIndex > 0 ? comboSex.currentText : "",
        pectoralNumber: textPectoralNumber.text,
        athleticRank: textAthleticRank.text
    })
    readonly property int age: ParticipantRules.ageFromDate(textBirthDate.text)
    readonly property bool entryComplete: isGto ? ParticipantRules.gtoEntryComplete(form)
                                                : ParticipantRules.trainingEntryComplete(form)

    // The form stays filled, so the same entry can be added again at once.
    function addEntry() {
        if (!entryComplete)
            return;
        itemModel.append(isGto ? ParticipantRules.gtoRecord(form)
                               : ParticipantRules.trainingRecord(form));
    }

    function clearList() {
        itemModel.clear();
    }

    // On failure the list stays, so another path can be tried.
    function saveList() {
        var text = itemModel.toJson();
        if (text === "" || FileIO.save(pathRow.text, text) > 0)
            failureLabel.show();
    }

    ListModel {
        id: modelSex
        ListElement { name: "Blank"; text: "Пол" }
        ListElement { name: "Male"; text: "М" }
        ListElement { name: "Female"; text: "Ж" }
    }

    ParticipantListModel {
        id: itemModel
        objectName: "itemModel"
        keyOrder: ParticipantListModel.RecordOrder
    }

    ExclusiveGroup {
        id: radioGroupGTOMode
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: Math.round(root.pixSize / 2)
        anchors.rightMargin: Math.round(root.pixSize / 2)
        spacing: root.pixSize

        ColumnLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            Layout.alignment: Qt.AlignTop
            spacing: root.pixSize

            Label {
                Layout.alignment: Qt.AlignHCenter
                text: "Режим соревнований:"
                font.pixelSize: root.pixSize * 2
            }

            RowLayout {
                Layout.alignment: Qt.AlignHCenter
                spacing: root.pixSize * 2

                RadioButton {
                    id: gtoRadioButton
                    objectName: "gtoRadioButton"
                    text: "ГТО"
                    checked: true
                    exclusiveGroup: radioGroupGTOMode
                    style: modeRadioStyle
                }
                RadioButton {
                    id: trainingRadioButton
                    objectName: "trainingRadioButton"
                    text: "Соревнование/Тренировка"
                    exclusiveGroup: radioGroupGTOMode
                    style: modeRadioStyle
                }
            }

            Label {
                Layout.alignment: Qt.AlignHCenter
                text: "Новый пользователь"
                font.pixelSize: root.pixSize * 2
            }

            GridLayout {
                Layout.fillWidth: true
                columns: 2
                rowSpacing: root.pixSize
                columnSpacing: root.pixSize

                Label {
                    text: "Организация: "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textOrganization
                    objectName: "textOrganization"
                    Layout.fillWidth: true
                    placeholderText: "Организация..."
                    style: ValidatedFieldStyle {
                        valid: textOrganization.text !== ""
                    }
                }

                Label {
                    objectName: "textGroupLabel"
                    visible: !root.isGto
                    text: "Группа (Класс): "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textGroup
                    objectName: "textGroup"
                    visible: !root.isGto
                    Layout.fillWidth: true
                    placeholderText: "Группа (Класс)..."
                    style: ValidatedFieldStyle {
                        valid: textGroup.text !== ""
                    }
                }

                Label {
                    text: "Ф.И.О:"
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textName
                    objectName: "textName"
                    Layout.fillWidth: true
                    placeholderText: "Ф.И.О...."
                    style: ValidatedFieldStyle {
                        valid: textName.text !== ""
                    }
                }

                Label {
                    objectName: "textUuidLabel"
                    visible: root.isGto
                    text: "УИНН: "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textUuid
                    objectName: "textUuid"
                    visible: root.isGto
                    Layout.fillWidth: true
                    placeholderText: "УИНН..."
                    // A real identification number has all eleven digits.
                    inputMask: "99999999999;"
                    style: ValidatedFieldStyle {
                        valid: ParticipantRules.isCompleteGtoUuid(textUuid.text)
                    }
                    // A press only focuses the field with the cursor at the start: a mask
                    // is filled from its first position, and selecting blanks helps nobody.
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.IBeamCursor
                        onPressed: {
                            textUuid.forceActiveFocus();
                            textUuid.cursorPosition = 0;
                        }
                    }
                }

                Label {
                    objectName: "textBirthDateLabel"
                    visible: root.isGto
                    text: "Дата рождения (дд.мм.гггг):"
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textBirthDate
                    objectName: "textBirthDate"
                    visible: root.isGto
                    Layout.fillWidth: true
                    placeholderText: "Дата рождения... (дд.мм.гггг)"
                    inputMask: "99.99.9999;"
                    style: ValidatedFieldStyle {
                        valid: root.age >= ParticipantRules.minimumAge
                    }
                    // As for the identification number.
                    MouseArea {
                        anchors.fill: parent
                        cursorShape: Qt.IBeamCursor
                        onPressed: {
                            textBirthDate.forceActiveFocus();
                            textBirthDate.cursorPosition = 0;
                        }
                    }
                }

                Label {
                    objectName: "textAgeLabel"
                    visible: root.isGto
                    text: "Возраст: "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textAge
                    objectName: "textAge"
                    visible: root.isGto
                    enabled: false
                    text: root.age
                    style: ValidatedFieldStyle {
                        valid: root.age >= ParticipantRules.minimumAge
                        textColor: "black"
                    }
                }

                Label {
                    objectName: "comboSexLabel"
                    visible: root.isGto
                    text: "Пол: "
                    font.pixelSize: root.pixSize
                }
                ComboBox {
                    id: comboSex
                    objectName: "comboSex"
                    visible: root.isGto
                    Layout.fillWidth: true
                    implicitHeight: root.pixSize * 2
                    model: modelSex
                    textRole: "text"
                    style: ComboBoxStyle {
                        background: ValidationFrame {
                            objectName: "validationFrame"
                            valid: comboSex.currentIndex >= 1
                            // The frame colour is taken, so focus shows as a tint.
                            color: comboSex.activeFocus ? "#e4ecf7" : "white"

                            Text {
                                anchors.right: parent.right
                                anchors.rightMargin: 6
                                anchors.verticalCenter: parent.verticalCenter
                                text: "▼"
                                renderType: Text.NativeRendering
                                font.pixelSize: Math.max(8, parent.height / 3)
                                color: "#555"
                            }
                        }
                    }
                }

                Label {
                    objectName: "textStepLabel"
                    visible: root.isGto
                    text: "Ступень: "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textStep
                    objectName: "textStep"
                    visible: root.isGto
                    enabled: false
                    text: ParticipantRules.plainStepText(ParticipantRules.stepFromAge(root.age))
                    style: ValidatedFieldStyle {
                        textColor: "black"
                    }
                }

                Label {
                    objectName: "textPectoralNumberLabel"
                    visible: root.isGto
                    text: "Нагрудный номер: "
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textPectoralNumber
                    objectName: "textPectoralNumber"
                    visible: root.isGto
                    Layout.fillWidth: true
                    placeholderText: "Нагрудный номер..."
                }

                Label {
                    objectName: "textAthleticRankLabel"
                    visible: root.isGto
                    text: "Спортивный разряд:"
                    font.pixelSize: root.pixSize
                }
                TextField {
                    id: textAthleticRank
                    objectName: "textAthleticRank"
                    visible: root.isGto
                    Layout.fillWidth: true
                    placeholderText: "Спортивный разряд..."
                }
            }

            ColumnLayout {
                Layout.alignment: Qt.AlignHCenter
                Layout.fillWidth: true
                spacing: root.pixSize

                // Tab reaches the buttons; Return works on them as well as Space.
                Button {
                    id: addButton
                    objectName: "addButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Добавить"
                    enabled: root.entryComplete
                    onClicked: root.addEntry()
                    Keys.onReturnPressed: root.addEntry()
                    Keys.onEnterPressed: root.addEntry()
                }

                Button {
                    objectName: "clearButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Очистить список"
                    onClicked: root.clearList()
                    Keys.onReturnPressed: root.clearList()
                    Keys.onEnterPressed: root.clearList()
                }

                Label {
                    Layout.alignment: Qt.AlignHCenter
                    text: "Путь к файлу для сохранения: "
                }

                FilePathRow {
                    id: pathRow
                    Layout.fillWidth: true
                    selectExisting: false
                }

                Button {
                    objectName: "saveButton"
                    Layout.alignment: Qt.AlignHCenter
                    text: "Сохранить список"
                    onClicked: root.saveList()
                    Keys.onReturnPressed: root.saveList()
                    Keys.onEnterPressed: root.saveList()
                }
            }

            Item {
                Layout.fillHeight: true
            }
        }

        Column {
            Layout.alignment: Qt.AlignTop
            spacing: root.pixSize

            Label {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Добавленные записи"
                font.pixelSize: root.pixSize * 2
            }

            Rectangle {
                width: Math.floor(root.width / 3)
                height: Math.floor(root.height / 2)
                border.width: 1
                border.color: "#000"

                ListView {
                    id: addedList
                    objectName: "addedList"
                    anchors.fill: parent
                    anchors.margins: 1
                    clip: true
                    boundsBehavior: Flickable.StopAtBounds
                    model: itemModel
                    delegate: Text {
                        objectName: "addedEntry"
                        width: addedList.width - addedScrollBar.width
                        leftPadding: 4
                        rightPadding: 4
                        elide: Text.ElideRight
                        renderType: Text.NativeRendering
                        text: model.name + "  " + model.organization + (model.isGto ? " ГТО" : "")
                    }
                }

                ListScrollBar {
                    id: addedScrollBar
                    objectName: "addedScrollBar"
                    flickable: addedList
                }
            }
        }
    }

    // Labels this large need a matching indicator, centred beside them.
    Component {
        id: modeRadioStyle
        RadioButtonStyle {
            spacing: 0
            indicator: Item {}
            label: Row {
                spacing: Math.round(root.pixSize / 2)

                Rectangle {
                    anchors.verticalCenter: parent.verticalCenter
                    width: root.pixSize * 1.4
                    height: width
                    radius: width / 2
                    border.color: control.activeFocus ? "#16c" : "gray"
                    color: control.pressed ? "#eee" : "white"

                    Rectangle {
                        anchors.centerIn: parent
                        width: Math.round(parent.width / 2)
                        height: width
                        radius: width / 2
                        color: "#444"
                        visible: control.checked
                    }
                }

                Label {
                    text: control.text
                    font.pixelSize: root.pixSize * 2

                    Rectangle {
                        anchors.fill: parent
                        anchors.margins: -2
                        visible: control.activeFocus
                        radius: 3
                        color: "#224f9fef"
                        border.color: "#47b"
                    }
                }
            }
        }
    }

    FailureNotice {
        id: failureLabel
        objectName: "failureLabel"
        font.pixelSize: root.pixSize * 4
    }
}
