import QtQuick 2.7
import QtTest 1.1
import Quillor.Lists 1.0
import "../../../qml/controls"

// TestCase itself is invisible, so the objects under test live in this item.
Item {
    id: container
    width: 400
    height: 300

    Component {
        id: noticeComponent
        Item {
            anchors.fill: parent
            property alias notice: notice
            FailureNotice {
                id: notice
            }
        }
    }

    TestCase {
        name: "FailureNotice"
        when: windowShown

        function test_fade() {
            var page = createTemporaryObject(noticeComponent, container);
            var notice = page.notice;
            compare(notice.text, "Не удалось сохранить файл");
            compare(notice.visible, false);
            // The fade also runs once at creation, unseen.
            tryCompare(notice, "opacity", 0, Theme.noticeFade + 1000);
            compare(notice.visible, false);

            notice.show();
            compare(notice.visible, true);
            compare(notice.opacity, 1);
            compare(notice.color, Theme.notice);
            compare(String(Theme.notice), "#ff0000");
            compare(notice.z, 1);
            fuzzyCompare(notice.x, (page.width - notice.width) / 2, 1);
            fuzzyCompare(notice.y, (page.height - notice.height) / 2, 1);

            // Part way through the fade, a second show does not start it again.
            tryVerify(function () { return notice.opacity < 0.9; }, Theme.noticeFade);
            var faded = notice.opacity;
            verify(faded > 0, "the fade ended before a second show could be tried");
            notice.show();
            verify(notice.opacity <= faded, "a second show restarted the fade");

            tryCompare(notice, "opacity", 0, Theme.noticeFade);
            compare(notice.visible, true);

            notice.show();
            compare(notice.opacity, 1);
        }
    }
}
