#include "listtext.h"

namespace ListText {

void appendFolded(std::string &out, std::string_view text)
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *const end = p + text.size();
    while (p != end) {
        const unsigned char c = *p;
        if (c >= 'A' && c <= 'Z') {
            out += char(c + 32);
            ++p;
            continue;
        }
        if ((c == 0xD0 || c == 0xD1) && p + 1 != end) {
            const unsigned char d = p[1];
            p += 2;
            // Ё and ё read as е.
            if ((c == 0xD0 && d == 0x81) || (c == 0xD1 && d == 0x91)) {
                out += "\xD0\xB5";
            } else if (c == 0xD0 && d >= 0x90 && d <= 0x9F) { // А..П
                out += char(0xD0);
                out += char(d + 0x20);
            } else if (c == 0xD0 && d >= 0xA0 && d <= 0xAF) { // Р..Я
                out += char(0xD1);
                out += char(d - 0x20);
            } else if (c == 0xD0 && d >= 0x80 && d <= 0x8F) { // Ѐ..Џ
                out += char(0xD1);
                out += char(d + 0x10);
            } else {
                out += char(c);
                out += char(d);
            }
            continue;
        }
        out += char(c);
        ++p;
    }
}

std::string trimmed(std::string_view text)
{
    const char *const space = " \t\n\r\f\v";
    const auto begin = text.find_first_not_of(space);
    if (begin == std::string_view::npos)
        return std::string();
    const std::string_view inner = text.substr(begin, text.find_last_not_of(space) - begin + 1);
    // Other spaces, a no-break space among them, end a value as QString::trimmed() has it.
    if (static_cast<unsigned char>(inner.front()) < 0x80 &&
        static_cast<unsigned char>(inner.back()) < 0x80)
        return std::string(inner);
    return QString::fromUtf8(inner.data(), int(inner.size())).trimmed().toStdString();
}

QString recordsText(long long count)
{
    const long long tens = count % 100;
    const long long ones = count % 10;
    const char *word = tens >= 11 && tens <= 14 ? "записей"
                       : ones == 1              ? "запись"
                       : ones >= 2 && ones <= 4 ? "записи"
                                                : "записей";
    return QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
}

} // namespace ListText
