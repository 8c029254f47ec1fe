import QtQuick 2.7
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3

// "Кодировка: …" of a text file being imported; another choice reads the file again in it.
RowLayout {
    id: choice

    // How the file was read, and the encodings it may be read in.
    property string encoding: ""
    property var encodings: []

    signal chosen(string encoding)

    Label {
        text: "Кодировка:"
    }

    ComboBox {
        id: encodingBox
        objectName: "importEncodingBox"
        model: choice.encodings
        currentIndex: choice.encodings.indexOf(choice.encoding)
        Accessible.name: "Кодировка файла"
        Accessible.description: "Другая кодировка читает файл заново"
        onActivated: {
            var picked = choice.encodings[index];
            // The box shows the file's encoding until the new reading has taken its place.
            currentIndex = Qt.binding(function() { return choice.encodings.indexOf(choice.encoding); });
            if (picked !== choice.encoding)
                choice.chosen(picked);
        }
    }
}
