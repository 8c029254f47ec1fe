#include "participantrules.h"

#include "listtext.h"

#include <QRegularExpression>
#include <QVector>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

// The script engine's trim: Qt's white space and the byte-order mark.
bool isTrimmed(QChar c)
{
    return c.isSpace() || c.unicode() == 0xFEFF;
}

bool isAsciiDigits(const QString &text)
{
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return !text.isEmpty();
}

int daysInMonth(int year, int month)
{
    if (month == 2)
        return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0 ? 29 : 28;
    return month == 4 || month == 6 || month == 9 || month == 11 ? 30 : 31;
}

// A decimal number as the script engine's Number() reads a text: white space around it,
// an empty text is 0, "0x", "0o" and "0b" prefixes, Infinity; NaN for anything else.
double scriptNumber(const QString &text)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    if (text.size() > 16 * 1024)
        return nan;
    const QString s = text.trimmed();
    if (s.size() > 2 && s.at(0) == QLatin1Char('0')) {
        const QChar prefix = s.at(1).toLower();
        const int base = prefix == QLatin1Char('x')   ? 16
                         : prefix == QLatin1Char('o') ? 8
                         : prefix == QLatin1Char('b') ? 2
                                                      : 0;
        if (base > 0) {
            bool ok = false;
            const qlonglong value = s.mid(2).toLongLong(&ok, base);
            return ok ? double(value) : nan;
        }
    }
    if (s == QLatin1String("Infinity") || s == QLatin1String("+Infinity") ||
        s == QLatin1String("inf") || s == QLatin1String("+inf"))
        return infinity;
    if (s == QLatin1String("-Infinity") || s == QLatin1String("-inf"))
        return -infinity;
    if (s.isEmpty())
        return 0;

    // [+-] (digits [. digits] | . digits) [e [+-] digits]
    const QByteArray bytes = s.toLatin1();
    const char *p = bytes.constData();
    const char *const end = p + bytes.size();
    const bool negative = *p == '-';
    if (*p == '+' || *p == '-')
        ++p;
    const char *const start = p;
    int digits = 0;
    while (p != end && *p >= '0' && *p <= '9')
        ++p, ++digits;
    if (p != end && *p == '.') {
        ++p;
        while (p != end && *p >= '0' && *p <= '9')
            ++p, ++digits;
    }
    if (digits == 0)
        return nan;
    bool negativeExponent = false;
    if (p != end && (*p == 'e' || *p == 'E')) {
        ++p;
        negativeExponent = p != end && *p == '-';
        if (p != end && (*p == '+' || *p == '-'))
            ++p;
        const char *const exponent = p;
        while (p != end && *p >= '0' && *p <= '9')
            ++p;
        if (p == exponent)
            return nan;
    }
    if (p != end)
        return nan;
    double value = 0;
    const auto result = std::from_chars(start, end, value);
    if (result.ec == std::errc::result_out_of_range)
        value = negativeExponent ? 0 : infinity;
    return negative ? -value : value;
}

} // namespace

QString ParticipantRules::trimName(const QString &value)
{
    int begin = 0;
    int end = value.size();
    while (begin < end && isTrimmed(value.at(begin)))
        ++begin;
    while (end > begin && isTrimmed(value.at(end - 1)))
        --end;
    // Most values need nothing done: keep their text shared.
    if (begin == 0 && end == value.size() && !value.contains(QLatin1String("  ")))
        return value;
    QString result;
    result.reserve(end - begin);
    for (int i = begin; i < end; ++i) {
        const QChar c = value.at(i);
        if (c == QLatin1Char(' ') && result.endsWith(QLatin1Char(' ')))
            continue;
        result.append(c);
    }
    return result;
}

QDate ParticipantRules::birthDate(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 3 || parts[0].size() > 2 || parts[1].size() > 2 || parts[2].size() != 4 ||
        !isAsciiDigits(parts[0]) || !isAsciiDigits(parts[1]) || !isAsciiDigits(parts[2]))
        return QDate();
    const int day = parts[0].toInt();
    const int month = parts[1].toInt();
    const int year = parts[2].toInt();
    if (year <= 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month))
        return QDate();
    return QDate(year, month, day);
}

int ParticipantRules::ageFromDate(const QString &text, const QDate &today)
{
    const QDate born = birthDate(text);
    if (!born.isValid())
        return 0;
    const QDate now = today.isValid() ? today : QDate::currentDate();
    int years = now.year() - born.year();
    if (now.month() < born.month() || (now.month() == born.month() && now.day() < born.day()))
        --years;
    return years;
}

double ParticipantRules::stepFromAge(double age)
{
    struct Band
    {
        double from, to, step;
    };
    static const Band bands[] = {{11, 12, 3},   {13, 15, 4},   {16, 17, 5},
                                 {18, 29, 6},   {30, 39, 7},   {40, 44, 8.1},
                                 {45, 49, 8.2}, {50, 54, 9.1}, {55, HUGE_VAL, 9.2}};
    for (const Band &band : bands) {
        if (age >= band.from && age <= band.to)
            return band.step;
    }
    return 3;
}

QString ParticipantRules::stepText(double step)
{
    return QString::number(step, 'f', 1);
}

QString ParticipantRules::plainStepText(double step)
{
    return QString::number(step, 'g', 15);
}

QString ParticipantRules::recordCountText(int count)
{
    const int tens = count % 100, ones = count % 10;
    const char *word = tens >= 11 && tens <= 14 ? "записей"
                       : ones == 1              ? "запись"
                       : ones >= 2 && ones <= 4 ? "записи"
                                                : "записей";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
}

QString ParticipantRules::shownStep(const QVariant &value)
{
    if (!value.isValid() || value.userType() == QMetaType::Nullptr)
        return QString();
    if (value.userType() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    const QString text = value.toString();
    const double step = scriptNumber(text);
    if (!(step < 8))
        return text;
    if (std::isinf(step))
        return QStringLiteral("-Infinity");
    if (step == 0)
        return QStringLiteral("0");
    return QString::number(step, 'f', 0);
}

bool ParticipantRules::isCompleteGtoUuid(const QString &text)
{
    return text.size() == 11 && isAsciiDigits(text);
}

QString ParticipantRules::sexLetter(const QString &text)
{
    QString key = text.trimmed().toLower();
    if (key.endsWith(QLatin1Char('.')))
        key.chop(1);
    static const QStringList male = {"м",       "муж",   "мужск", "мужской", "мужчина",
                                     "мальчик", "юноша", "m",     "male"};
    static const QStringList female = {"ж",       "жен",     "женск", "женский", "женщина",
                                       "девочка", "девушка", "f",     "female"};
    if (male.contains(key))
        return QStringLiteral("М");
    if (female.contains(key))
        return QStringLiteral("Ж");
    return QString();
}

QString ParticipantRules::gtoUuidDigits(const QString &text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.append(c);
        else if (c != QLatin1Char('-') && c != QLatin1Char(' '))
            return QString();
    }
    return digits.size() == 11 ? digits : QString();
}

QDate ParticipantRules::dateFromText(const QString &text)
{
    // Spreadsheets write a date cell as text with a midnight after it.
    static const QRegularExpression date(QStringLiteral(
        "^\\s*(?:(\\d{1,2})([./])(\\d{1,2})\\2(\\d{4})|(\\d{4})-(\\d{1,2})-(\\d{1,2}))"
        "(?:[ T]\\d{1,2}:\\d{2}(?::\\d{2}(?:\\.\\d+)?)?)?\\s*$"));
    const QRegularExpressionMatch match = date.match(text);
    if (!match.hasMatch())
        return QDate();
    if (match.capturedLength(1) > 0)
        return QDate(match.captured(4).toInt(), match.captured(3).toInt(),
                     match.captured(1).toInt());
    return QDate(match.captured(5).toInt(), match.captured(6).toInt(), match.captured(7).toInt());
}

QDate ParticipantRules::dateFromSerial(double serial, bool from1904)
{
    // Day numbers beyond 9999-12-31 or before the epoch are no dates.
    if (!(serial >= 1 && serial < 2958466))
        return QDate();
    const qint64 day = qint64(std::floor(serial));
    if (from1904)
        return QDate(1904, 1, 1).addDays(day);
    // The 1900 system counts a 29 February 1900 that never was: day 60.
    if (day == 60)
        return QDate();
    return QDate(1899, 12, day < 60 ? 31 : 30).addDays(day);
}

QString ParticipantRules::dateText(const QDate &date)
{
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

bool ParticipantRules::gtoEntryComplete(const QVariantMap &form)
{
    const QString sex = form.value(QStringLiteral("sex")).toString();
    return !trimName(form.value(QStringLiteral("name")).toString()).isEmpty() &&
           !trimName(form.value(QStringLiteral("organization")).toString()).isEmpty() &&
           (sex == QStringLiteral("М") || sex == QStringLiteral("Ж")) &&
           ageFromDate(form.value(QStringLiteral("birthDate")).toString()) > 0 &&
           isCompleteGtoUuid(form.value(QStringLiteral("gtoUuid")).toString());
}

bool ParticipantRules::trainingEntryComplete(const QVariantMap &form)
{
    for (const char *key : {"name", "organization", "group"}) {
        if (trimName(form.value(QLatin1String(key)).toString()).isEmpty())
            return false;
    }
    return true;
}

ParticipantRecord ParticipantRules::gtoRecord(const GtoEntry &entry, const QDate &today)
{
    const auto text = [](const QString &value) { return ListValue::string(value); };
    const QString organization = trimName(entry.organization);
    ParticipantRecord record;
    // Room for the two optional keys, which would otherwise move all the others.
    record.fields.reserve(10);
    record.fields = {
        {"birthDate", text(entry.birthDate)},
        {"group", text(organization)},
        {"gtoUuid", text(entry.gtoUuid)},
        {"isGto", ListValue::fromBool(true)},
        {"name", text(trimName(entry.name))},
        {"organization", text(organization)},
        {"sex", text(entry.sex)},
        {"step", text(stepText(stepFromAge(ageFromDate(entry.birthDate, today))))},
    };
    if (!entry.pectoralNumber.isEmpty())
        record.fields.emplace_back("pectoralNumber", text(entry.pectoralNumber));
    if (!entry.athleticRank.isEmpty())
        record.fields.emplace_back("athleticRank", text(entry.athleticRank));
    return record;
}

ParticipantRecord ParticipantRules::trainingRecord(const QString &group, const QString &name,
                                                   const QString &organization)
{
    ParticipantRecord record;
    record.fields = {
        {"group", ListValue::string(trimName(group))},
        {"isGto", ListValue::fromBool(false)},
        {"name", ListValue::string(trimName(name))},
        {"organization", ListValue::string(trimName(organization))},
    };
    return record;
}

QVariant ParticipantRules::gtoRecord(const QVariantMap &form)
{
    const auto text = [&form](const char *key) {
        return form.value(QLatin1String(key)).toString();
    };
    return QVariant::fromValue(
        gtoRecord(GtoEntry{text("birthDate"), text("organization"), text("gtoUuid"), text("name"),
                           text("sex"), text("pectoralNumber"), text("athleticRank")}));
}

QVariant ParticipantRules::trainingRecord(const QVariantMap &form)
{
    const auto text = [&form](const char *key) {
        return form.value(QLatin1String(key)).toString();
    };
    return QVariant::fromValue(trainingRecord(text("group"), text("name"), text("organization")));
}

QString ParticipantRules::stepTextForBirthDate(const QString &birthDate, const QDate &today)
{
    return plainStepText(stepFromAge(ageFromDate(birthDate, today)));
}

QStringList ParticipantRules::rankSuggestions(const QString &typed)
{
    static const char *const ranks[] = {"б/р", "3ю",  "2ю", "1ю",   "3",  "2",
                                        "1",   "КМС", "МС", "МСМК", "ЗМС"};
    QStringList found;
    const QString wanted = ListText::folded(typed.trimmed());
    if (wanted.isEmpty())
        return found;
    for (const char *rank : ranks) {
        const QString text = QString::fromUtf8(rank);
        if (ListText::folded(text).startsWith(wanted))
            found.append(text);
    }
    // A rank typed out needs no list, unless longer ones begin with it ("1" and "1ю").
    if (found.size() == 1 && found.first() == typed)
        found.clear();
    return found;
}
