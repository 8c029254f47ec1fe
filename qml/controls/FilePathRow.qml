import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3

// The path row of both pages: a button that opens the file dialog and the path field.
RowLayout {
    id: pathRow

    // The path last chosen in the dialog; the field follows it but may be edited by hand.
    property string filePath: ""
    // What the field holds now: the path to read or write.
    readonly property alias text: loadFileTextField.text
    // The path field, for a page that hands it the focus.
    readonly property Item field: loadFileTextField
    // Whether the dialog insists on a file that exists already.
    property bool selectExisting: true
    // What a screen reader says of the field: the page tells what the path is for.
    property string fieldName: "Путь к файлу"
    property string fieldDescription: ""

    // A dialog URL as the platform's own path: file:///home/a%20b.json gives
    // /home/a b.json, file:///C:/Temp/x.json gives C:/Temp/x.json, and a network
    // share keeps its host as //host/share/...
    function localPathFromUrl(url) {
        var text = url.toString();
        if (text.indexOf("file:") !== 0)
            return text;
        var rest = text.substring(5);
        var host = "";
        if (rest.indexOf("//") === 0) {
            rest = rest.substring(2);
            var slash = rest.indexOf("/");
            host = slash < 0 ? rest : rest.substring(0, slash);
            rest = slash < 0 ? "" : rest.substring(slash);
        }
        var path;
        try {
            path = decodeURIComponent(rest);
        } catch (e) {
            path = rest;
        }
        if (/^\/[A-Za-z]:(\/|$)/.test(path))
            path = path.substring(1);
        if (host !== "" && host.toLowerCase() !== "localhost")
            path = "//" + decodeURIComponent(host) + path;
        return path;
    }

    Button {
        id: loadPathButton
        objectName: "loadPathButton"
        text: "Ввести имя файла"
        Layout.alignment: Qt.AlignLeft
        Accessible.name: text
        Accessible.description: "Открывает окно выбора файла"
        onClicked: {
            if (dialogLoader.item)
                dialogLoader.item.openOver(pathRow);
            else
                dialogLoader.active = true;
        }
    }

    TextField {
        id: loadFileTextField
        objectName: "loadFileTextField"
        Layout.fillWidth: true
        text: pathRow.filePath
        Accessible.name: pathRow.fieldName
        Accessible.description: pathRow.fieldDescription
    }

    Loader {
        id: dialogLoader
        active: false
        source: "PathDialog.qml"
        onLoaded: {
            item.selectExisting = Qt.binding(function() { return pathRow.selectExisting; });
            item.accepted.connect(function() {
                pathRow.filePath = pathRow.localPathFromUrl(item.fileUrl);
            });
            item.openOver(pathRow);
        }
    }
}
