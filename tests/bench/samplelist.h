#pragma once

#include <QJSEngine>
#include <QString>

// A list of `count` records as the creation page writes it: GTO records of eight and ten
// keys and training records, with Cyrillic names.
inline QString sampleList(QJSEngine &engine, int count)
{
    static const char *const makeList = R"(
(function (count) {
    var names = ["Иванова Мария Петровна", "Петров Иван Сергеевич", "Smith John",
                 "Сидоров Алексей", "Кузнецова Анна Викторовна"];
    var steps = ["3.0", "4.0", "5.0", "6.0", "7.0", "8.1", "8.2", "9.1", "9.2"];
    var items = [];
    for (var i = 0; i < count; ++i) {
        var name = names[i % names.length] + " " + i;
        var school = "Школа № " + (i % 97);
        if (i % 5 === 4) {
            items.push({group: (i % 11) + "А", isGto: false, name: name, organization: school});
            continue;
        }
        var record = {birthDate: ("0" + (i % 28 + 1)).slice(-2) + ".0" + (i % 9 + 1) + "." +
                                  (1950 + i % 60),
                      group: school, gtoUuid: String(10000000000 + i), isGto: true,
                      name: name, organization: school, sex: i % 2 ? "М" : "Ж",
                      step: steps[i % steps.length]};
        if (i % 5 === 3) {
            record.pectoralNumber = String(i);
            record.athleticRank = "КМС";
        }
        items.push(record);
    }
    return JSON.stringify(items);
}))";
    return engine.evaluate(QString::fromUtf8(makeList)).call({count}).toString();
}
