pragma Singleton
import QtQuick 2.7

// Colours, sizes and timings shared by every document.
QtObject {
    // Frames of validated fields.
    readonly property color valid: "#000000"
    readonly property color invalid: "#FF0000"
    readonly property color notice: "red"
    // How long a notice takes to fade out, in milliseconds.
    readonly property int noticeFade: 3000

    readonly property color text: "black"
    readonly property color background: "white"
    readonly property color frame: "#000"
    readonly property color focusTint: "#e4ecf7"
    readonly property color focusFrame: "#16c"
    readonly property color focusFill: "#224f9fef"
    readonly property color focusOutline: "#47b"
    readonly property color control: "gray"
    readonly property color controlPressed: "#eee"
    readonly property color mark: "#444"
    readonly property color arrow: "#555"

    readonly property color track: "#eeeeee"
    readonly property color handle: "#aaaaaa"
    readonly property color handlePressed: "#888888"

    readonly property color header: "#eeeeee"
    readonly property color headerPressed: "#dddddd"
    readonly property color gridLine: "#cccccc"
    readonly property color rowSelected: "#07c"
    readonly property color rowSelectedUnfocused: "#999"
    readonly property color row: "white"
    readonly property color rowAlternate: "#f5f5f5"
    // Cells whose value another row repeats, and the note that names those rows.
    readonly property color duplicate: "#ffd7a8"
    readonly property color noteBackground: "#ffffe1"
    readonly property color statusText: "#333333"
    // The suggestion picked by the arrows.
    readonly property color suggestion: "#cde4f7"

    // The offer of a list left unsaved by an earlier run, and the mark of unsaved changes.
    readonly property color recoveryBar: "#fff3c4"
    readonly property color recoveryBarFrame: "#d9b64a"
    readonly property int barPadding: 6
    readonly property color unsavedMark: "#a04000"

    // The file dialogs open at this size where the desktop has room for it.
    readonly property int dialogWidth: 900
    readonly property int dialogHeight: 600

    // Fonts and spacings are multiples of this unit, half of a 24th of the page height.
    function sizeUnit(pageHeight) {
        return Math.floor(pageHeight / 24 / 2);
    }
}
