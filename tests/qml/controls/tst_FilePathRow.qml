import QtQuick 2.7
import QtTest 1.1
import QtQuick.Window 2.2
import "../../../qml/controls"

Item {
    id: container
    width: 400
    height: 100

    Component {
        id: rowComponent
        FilePathRow {
            width: container.width
        }
    }

    // The dialog hands over a url value, which turns into text differently from a string.
    Component {
        id: urlHolder
        QtObject {
            property url value
        }
    }

    TestCase {
        name: "FilePathRow"
        when: windowShown

        function test_localPathFromUrl_data() {
            return [
                { tag: "linux", url: "file:///home/user/list.json", path: "/home/user/list.json" },
                { tag: "spaces", url: "file:///home/user/My%20list.json",
                  path: "/home/user/My list.json" },
                { tag: "cyrillic",
                  url: "file:///home/user/%D0%A1%D0%BF%D0%B8%D1%81%D0%BE%D0%BA.json",
                  path: "/home/user/Список.json" },
                { tag: "percent", url: "file:///tmp/100%25.json", path: "/tmp/100%.json" },
                { tag: "windows drive", url: "file:///C:/Temp/list.json",
                  path: "C:/Temp/list.json" },
                { tag: "windows drive with spaces", url: "file:///D:/My%20Files/a.json",
                  path: "D:/My Files/a.json" },
                { tag: "network share", url: "file://server/share/list.json",
                  path: "//server/share/list.json" },
                { tag: "localhost", url: "file://localhost/tmp/list.json",
                  path: "/tmp/list.json" }
            ];
        }

        function test_localPathFromUrl(data) {
            var row = createTemporaryObject(rowComponent, container);
            // Both as a url value, as the dialog gives it, and as text.
            var holder = createTemporaryObject(urlHolder, container, { value: data.url });
            compare(row.localPathFromUrl(holder.value), data.path);
            compare(row.localPathFromUrl(data.url), data.path);
        }

        function test_fieldFollowsChosenPathUnlessSame() {
            var row = createTemporaryObject(rowComponent, container);
            var field = findChild(row, "loadFileTextField");
            compare(findChild(row, "loadPathButton").text, "Ввести имя файла");

            row.filePath = "/tmp/a.json";
            compare(row.text, "/tmp/a.json");

            mouseClick(field);
            verify(field.activeFocus);
            field.selectAll();
            keyClick(Qt.Key_B);
            compare(row.text, "b");

            // The same choice again leaves the typed text; another one replaces it.
            row.filePath = "/tmp/a.json";
            compare(row.text, "b");
            row.filePath = "/tmp/c.json";
            compare(row.text, "/tmp/c.json");
        }

        function test_buttonOpensDialog_data() {
            return [
                { tag: "existing file required", selectExisting: true },
                { tag: "new file name allowed", selectExisting: false }
            ];
        }

        function test_buttonOpensDialog(data) {
            var row = createTemporaryObject(rowComponent, container,
                                            { selectExisting: data.selectExisting });
            mouseClick(findChild(row, "loadPathButton"));
            var dialog = findChild(row, "fileDialog");
            verify(dialog !== null);
            tryCompare(dialog, "visible", true);
            compare(dialog.title, "Выберите файл");
            compare(dialog.selectExisting, data.selectExisting);
            compare(dialog.selectMultiple, false);
            compare(dialog.selectFolder, false);
            compare(dialog.folder, dialog.shortcuts.home);
            // Large enough to read a folder, yet no larger than the desktop.
            var desktopWidth = container.Screen.desktopAvailableWidth;
            var desktopHeight = container.Screen.desktopAvailableHeight;
            verify(dialog.width >= Math.min(800, desktopWidth), "width " + dialog.width);
            verify(dialog.height >= Math.min(500, desktopHeight), "height " + dialog.height);
            verify(dialog.width <= desktopWidth && dialog.height <= desktopHeight);
            dialog.close();

            // A second press reuses the same dialog.
            mouseClick(findChild(row, "loadPathButton"));
            compare(findChild(row, "fileDialog"), dialog);
            tryCompare(dialog, "visible", true);
            dialog.close();
        }
    }
}
