import QtQuick 2.7
import QtTest 1.1
import "../../qml/participantRules.js" as Rules

TestCase {
    name: "ParticipantRules"

    function test_trimName_data() {
        return [
            { tag: "plain", value: "Иванов Иван", result: "Иванов Иван" },
            { tag: "ends trimmed", value: "  Иванов  ", result: "Иванов" },
            { tag: "four spaces inside", value: "a    b", result: "a b" },
            { tag: "three spaces inside", value: "a   b", result: "a b" },
            { tag: "several runs", value: " a  b   c  ", result: "a b c" },
            { tag: "tab inside kept", value: "a\t  b", result: "a\t b" },
            { tag: "tabs at ends trimmed", value: "\ta b\t", result: "a b" },
            { tag: "only spaces", value: "   ", result: "" },
            { tag: "empty", value: "", result: "" }
        ];
    }

    function test_trimName(data) {
        compare(Rules.trimName(data.value), data.result);
    }

    // Pinned to 7 March 2026.
    function test_ageFromDate_data() {
        return [
            { tag: "on the birthday", text: "07.03.2000", age: 26 },
            { tag: "the day before the birthday", text: "08.03.2000", age: 25 },
            { tag: "month after", text: "01.04.2000", age: 25 },
            { tag: "earlier month", text: "28.02.2000", age: 26 },
            { tag: "one-digit day", text: "7.03.2000", age: 26 },
            { tag: "one-digit month", text: "07.3.2000", age: 26 },
            { tag: "one-digit both", text: "7.3.2000", age: 26 },
            { tag: "29 February of a leap year", text: "29.02.2000", age: 26 },
            { tag: "29 February of a common year", text: "29.02.2001", age: 0 },
            { tag: "29 February 1900", text: "29.02.1900", age: 0 },
            { tag: "31 February", text: "31.02.2000", age: 0 },
            { tag: "31 April", text: "31.04.2000", age: 0 },
            { tag: "day 00", text: "00.03.2000", age: 0 },
            { tag: "month 00", text: "07.00.2000", age: 0 },
            { tag: "month 13", text: "07.13.2000", age: 0 },
            { tag: "year 0000", text: "07.03.0000", age: 0 },
            { tag: "two-digit year", text: "07.03.00", age: 0 },
            { tag: "five-digit year", text: "07.03.20000", age: 0 },
            { tag: "two dots alone", text: "..", age: 0 },
            { tag: "half typed", text: "07.0.", age: 0 },
            { tag: "empty", text: "", age: 0 },
            { tag: "words", text: "вчера", age: 0 },
            { tag: "slashes", text: "07/03/2000", age: 0 },
            { tag: "year 1900", text: "01.01.1900", age: 126 },
            { tag: "five years back", text: "07.03.2021", age: 5 },
            { tag: "tomorrow", text: "08.03.2026", age: -1 },
            { tag: "next year", text: "07.03.2027", age: -1 }
        ];
    }

    function test_ageFromDate(data) {
        compare(Rules.ageFromDate(data.text, new Date(2026, 2, 7)), data.age);
    }

    function test_ageFromDate_countsToToday() {
        var now = new Date();
        var birthday = now.getDate() + "." + (now.getMonth() + 1) + "." + (now.getFullYear() - 20);
        compare(Rules.ageFromDate(birthday), 20);
    }

    function test_stepFromAge_data() {
        return [
            { tag: "negative", age: -1, step: 3 },
            { tag: "0", age: 0, step: 3 },
            { tag: "10", age: 10, step: 3 },
            { tag: "11", age: 11, step: 3 },
            { tag: "12", age: 12, step: 3 },
            { tag: "12.5 in a gap", age: 12.5, step: 3 },
            { tag: "13", age: 13, step: 4 },
            { tag: "15", age: 15, step: 4 },
            { tag: "16", age: 16, step: 5 },
            { tag: "17", age: 17, step: 5 },
            { tag: "18", age: 18, step: 6 },
            { tag: "29", age: 29, step: 6 },
            { tag: "30", age: 30, step: 7 },
            { tag: "39", age: 39, step: 7 },
            { tag: "40", age: 40, step: 8.1 },
            { tag: "44", age: 44, step: 8.1 },
            { tag: "45", age: 45, step: 8.2 },
            { tag: "49", age: 49, step: 8.2 },
            { tag: "50", age: 50, step: 9.1 },
            { tag: "54", age: 54, step: 9.1 },
            { tag: "55", age: 55, step: 9.2 },
            { tag: "100", age: 100, step: 9.2 },
            { tag: "text 29", age: "29", step: 6 },
            { tag: "text 47", age: "47", step: 8.2 },
            { tag: "text not a number", age: "abc", step: 3 },
            { tag: "NaN", age: NaN, step: 3 },
            { tag: "undefined", age: undefined, step: 3 }
        ];
    }

    function test_stepFromAge(data) {
        compare(Rules.stepFromAge(data.age), data.step);
    }
}
