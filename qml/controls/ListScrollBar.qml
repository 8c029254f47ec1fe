import QtQuick 2.7
import Quillor.Lists 1.0

// A thin vertical scroll bar for a ListView: shown only when the list overflows, its
// handle can be dragged and a press on the track pages. Lighter to create than a
// ScrollView, which the creation page would otherwise build on every start.
Item {
    id: bar

    property Flickable flickable

    // Moves the list to the given content position, kept within its ends.
    function scrollTo(contentY) {
        var top = flickable.originY;
        var bottom = top + flickable.contentHeight - flickable.height;
        flickable.contentY = Math.max(top, Math.min(bottom, contentY));
    }

    anchors.top: flickable.top
    anchors.bottom: flickable.bottom
    anchors.right: flickable.right
    width: 10
    visible: flickable.visibleArea.heightRatio < 1

    Rectangle {
        anchors.fill: parent
        color: Theme.track

        MouseArea {
            anchors.fill: parent
            onPressed: {
                var page = bar.flickable.height * (mouse.y < handle.y ? -1 : 1);
                bar.scrollTo(bar.flickable.contentY + page);
            }
        }
    }

    Rectangle {
        id: handle
        objectName: "scrollHandle"

        x: 1
        width: bar.width - 2
        height: Math.max(16, bar.height * bar.flickable.visibleArea.heightRatio)
        y: (bar.height - height) * bar.flickable.visibleArea.yPosition
           / Math.max(0.0001, 1 - bar.flickable.visibleArea.heightRatio)
        radius: 3
        antialiasing: false
        color: handleArea.pressed ? Theme.handlePressed : Theme.handle

        MouseArea {
            id: handleArea

            property real pressY
            property real pressContentY

            anchors.fill: parent
            onPressed: {
                pressY = mapToItem(bar, mouse.x, mouse.y).y;
                pressContentY = bar.flickable.contentY;
            }
            onPositionChanged: {
                var travel = bar.height - handle.height;
                if (travel <= 0)
                    return;
                var moved = mapToItem(bar, mouse.x, mouse.y).y - pressY;
                var range = bar.flickable.contentHeight - bar.flickable.height;
                bar.scrollTo(pressContentY + moved * range / travel);
            }
        }
    }
}
