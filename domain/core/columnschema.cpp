#include "columnschema.h"

#include "participantrules.h"

namespace ColumnSchema {

namespace {

const std::vector<Column> &standard()
{
    static const std::vector<Column> table = standardColumns();
    return table;
}

const std::vector<Column> *active = nullptr;

} // namespace

std::vector<Column> standardColumns()
{
    using S = SortKind;
    using E = ExportKind;
    // A list exported by this program comes back through the import as it was: the keys
    // and the titles are header words too. The name's parts have meanings of their own.
    // clang-format off
    return {
        // key, title, editable, sorting, export, display, import meaning and its place,
        // header words
        {"name", "Имя", true, S::Text, E::Value, Shown::AsStored, "Ф.И.О.", 1,
         {"фио", "фамилияимяотчество", "фамилияимя", "name"}},
        {"birthDate", "Дата Рождения", true, S::Date, E::DateCell, Shown::AsStored,
         "Дата рождения", 2, {"датарождения", "др", "датарожд", "birthdate"}},
        {"group", "Группа", true, S::Text, E::Value, Shown::AsStored, "Группа (Класс)", 4,
         {"группа", "класс", "группакласс", "group"}},
        {"organization", "Организация", true, S::Text, E::Value, Shown::AsStored,
         "Организация", 3,
         {"организация", "школа", "учреждение", "оу", "образовательноеучреждение",
          "образовательнаяорганизация", "organization"}},
        {"gtoUuid", "ИД ГТО", true, S::Text, E::Value, Shown::AsStored, "УИН", 5,
         {"уин", "уинн", "идгто", "id", "ид", "уингто", "gtouuid"}},
        {"sex", "Пол", true, S::Text, E::Value, Shown::AsStored, "Пол", 6, {"пол", "sex"}},
        // Follows from the birth date: never edited, never imported.
        {"step", "Ступень", false, S::Number, E::Value, Shown::Step, QString(), 0,
         {"ступень", "step"}},
        {"pectoralNumber", "Нагрудный Номер", true, S::Number, E::Value, Shown::AsStored,
         "Нагрудный номер", 7, {"номер", "нагрудныйномер", "pectoralnumber"}},
        {"athleticRank", "Спортивный Разряд", true, S::Text, E::Value, Shown::AsStored,
         "Спортивный разряд", 8, {"разряд", "спортивныйразряд", "athleticrank"}},
    };
    // clang-format on
}

const std::vector<Column> &columns()
{
    return active ? *active : standard();
}

int indexOf(const std::string &key)
{
    const std::vector<Column> &all = columns();
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].key == key)
            return int(i);
    }
    return -1;
}

const Column *find(const std::string &key)
{
    const int index = indexOf(key);
    return index < 0 ? nullptr : &columns()[std::size_t(index)];
}

QString shownText(const Column &column, const QVariant &value)
{
    if (column.shown == Shown::Step)
        return ParticipantRules::shownStep(value);
    return value.isNull() || !value.isValid() ? QString() : value.toString();
}

Override::Override(std::vector<Column> columns) : own(std::move(columns)), previous(active)
{
    active = &own;
}

Override::~Override()
{
    active = previous;
}

} // namespace ColumnSchema
