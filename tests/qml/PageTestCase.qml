import QtQuick 2.7
import QtTest 1.1

// What the page tests share: items found by their object names, text typed key by key,
// and dates counted back from today.
TestCase {
    // The page under test; each test case creates its own.
    property var page: null

    function item(objectName) {
        var found = findChild(page, objectName);
        verify(found !== null, "no item " + objectName);
        return found;
    }

    function type(text) {
        for (var i = 0; i < text.length; ++i)
            keyClick(text.charAt(i));
    }

    // A click into the field, then the keys; the click lands at the field's right end,
    // where a user is likely to hit a masked field.
    function typeInto(objectName, text) {
        var field = item(objectName);
        mouseClick(field, field.width - 10, field.height / 2);
        verify(field.activeFocus, objectName + " took no focus");
        type(text);
    }

    // An editing-table cell; cells exist once the view has laid out their row.
    function cell(row, role) {
        var name = "cell:" + row + ":" + role;
        tryVerify(function () { return findChild(page, name) !== null; }, 2000, name);
        return findChild(page, name);
    }

    // A birthday at most a few days back, so the age is exactly `years` on any day; never
    // 29 February, which most earlier years lack.
    function dateYearsAgo(years) {
        var today = new Date();
        var two = function (n) { return (n < 10 ? "0" : "") + n; };
        return two(Math.min(today.getDate(), 28)) + "." + two(today.getMonth() + 1) + "." +
               (today.getFullYear() - years);
    }
}
