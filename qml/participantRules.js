.pragma library

// Rules that turn what the operator types into record values; both pages use them.

// Ends trimmed and every run of spaces made one space; tabs inside are kept.
function trimName(value) {
    return String(value).trim().replace(/ {2,}/g, " ");
}

function daysInMonth(year, month) {
    if (month === 2)
        return (year % 4 === 0 && year % 100 !== 0) || year % 400 === 0 ? 29 : 28;
    return [4, 6, 9, 11].indexOf(month) >= 0 ? 30 : 31;
}

// Whole years from a birth date "d.M.yyyy" (day and month of one or two digits) to
// `today` (a Date, the local date now when left out). A text that is not an existing
// date gives 0; a date in the future gives 0 or less.
// Parsed by hand: the locale date parser of newer Qt versions rejects one-digit days.
function ageFromDate(textvar, today) {
    var parts = /^(\d{1,2})\.(\d{1,2})\.(\d{4})$/.exec(String(textvar));
    if (parts === null)
        return 0;
    var day = Number(parts[1]);
    var month = Number(parts[2]);
    var year = Number(parts[3]);
    if (year <= 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return 0;

    var now = today === undefined ? new Date() : today;
    var nowMonth = now.getMonth() + 1;
    var years = now.getFullYear() - year;
    if (nowMonth < month || (nowMonth === month && now.getDate() < day))
        years -= 1;
    return years;
}

// The GTO step for an age given as a number or as its text; 3 when no band fits.
function stepFromAge(textvar) {
    var age = Number(textvar);
    var bands = [[11, 12, 3], [13, 15, 4], [16, 17, 5], [18, 29, 6], [30, 39, 7],
                 [40, 44, 8.1], [45, 49, 8.2], [50, 54, 9.1], [55, Infinity, 9.2]];
    for (var i = 0; i < bands.length; ++i) {
        if (age >= bands[i][0] && age <= bands[i][1])
            return bands[i][2];
    }
    return 3;
}
