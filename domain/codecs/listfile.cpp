#include "listfile.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <exception>

namespace ListFile {

namespace {

// "строка 3, позиция 17" for the character at `offset`: lines and characters from 1.
QString placeOf(const char *begin, const char *end, std::size_t offset)
{
    const char *at = begin + std::min(offset, std::size_t(end - begin));
    const char *lineStart = begin;
    long long line = 1;
    for (const char *p = begin; p != at; ++p) {
        if (*p == '\n') {
            ++line;
            lineStart = p + 1;
        }
    }
    long long column = 1;
    for (const char *p = lineStart; p != at; ++p) {
        // Continuation bytes belong to the character before them.
        if ((static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            ++column;
    }
    return QStringLiteral("строка %1, позиция %2").arg(line).arg(column);
}

bool onlyWhiteSpace(const QByteArray &bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

} // namespace

void trim(QByteArray &bytes)
{
    const int nul = bytes.indexOf('\0');
    if (nul >= 0)
        bytes.truncate(nul);
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
}

bool read(const QString &path, QByteArray &bytes, QString &reason)
{
    if (path.isEmpty()) {
        reason = QStringLiteral("Не указан путь к файлу");
        return false;
    }
    const QFileInfo info(path);
    if (info.isDir()) {
        reason = QStringLiteral("Это папка, а не файл");
        return false;
    }
    // A pipe would hold the window until something writes to it, a device read on for ever.
    if (info.exists() && !info.isFile()) {
        reason = QStringLiteral("Это не обычный файл");
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = !info.exists()       ? QStringLiteral("Файл не найден")
                 : !info.isReadable() ? QStringLiteral("Нет прав на чтение файла")
                                      : QStringLiteral("Не удалось открыть файл");
        return false;
    }
    // A QByteArray holds less than 2 GiB.
    if (file.size() >= INT_MAX - 64) {
        reason = QStringLiteral("Файл слишком велик");
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = QStringLiteral("Не удалось прочитать файл");
        return false;
    }
    // Its NUL bytes would cut it before the first character, for a cause that says nothing.
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        reason = QStringLiteral("Файл не в кодировке UTF-8, а в UTF-16");
        return false;
    }
    trim(bytes);
    if (onlyWhiteSpace(bytes)) {
        reason = QStringLiteral("Файл пуст");
        return false;
    }
    return true;
}

long long invalidUtf8At(const char *begin, const char *end)
{
    const auto *const first = reinterpret_cast<const unsigned char *>(begin);
    const auto *const last = reinterpret_cast<const unsigned char *>(end);
    const auto *p = first;
    while (p != last) {
        // Lists are mostly ASCII: eight bytes at a time while they are.
        if (last - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080u) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        // The ranges of RFC 3629: no overlong forms, no surrogates, nothing past U+10FFFF.
        int length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            low = c == 0xE0 ? 0xA0 : 0x80;
            high = c == 0xED ? 0x9F : 0xBF;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF;
        } else {
            return p - first;
        }
        if (last - p < length || p[1] < low || p[1] > high)
            return p - first;
        for (int i = 2; i < length; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return p - first;
        }
        p += length;
    }
    return -1;
}

QString notUtf8Reason(const char *begin, const char *end, long long offset)
{
    return QStringLiteral("Файл не в кодировке UTF-8: ") + placeOf(begin, end, std::size_t(offset));
}

QString readErrorReason(const char *begin, const char *end, const ListJson::ReadError &error)
{
    using ListJson::ReadError;
    const QString place = placeOf(begin, end, error.offset);
    switch (error.kind) {
    case ReadError::None:
        return QString();
    case ReadError::NotAList:
        switch (error.found) {
        case ListValue::Type::Object:
            return QStringLiteral("В файле не список, а объект JSON");
        case ListValue::Type::Number:
            return QStringLiteral("В файле не список, а число");
        case ListValue::Type::String:
            return QStringLiteral("В файле не список, а строка");
        case ListValue::Type::Boolean:
            return QStringLiteral("В файле не список, а логическое значение");
        default:
            return QStringLiteral("В файле не список, а null");
        }
    case ReadError::NumberOutOfRange: {
        // A number of a thousand digits is named by its start.
        QString number = QString::fromUtf8(error.token.data(), int(error.token.size()));
        if (number.size() > 24)
            number = number.left(20) + QStringLiteral("…");
        return QStringLiteral("Слишком большое число %1: %2").arg(number, place);
    }
    case ReadError::LoneSurrogate:
        return QStringLiteral("Непарный суррогат в строке: ") + place;
    case ReadError::RepeatedKey: {
        QString key = QString::fromUtf8(error.token.data(), int(error.token.size()));
        if (key.size() > 40)
            key = key.left(36) + QStringLiteral("…");
        // The line is enough: the key is named.
        return QStringLiteral("В записи %1 ключ «%2» повторяется, %3")
            .arg(error.record)
            .arg(key, place.section(QLatin1Char(','), 0, 0));
    }
    case ReadError::Syntax:
        break;
    }
    return QStringLiteral("Это не список JSON: ") + place;
}

long long recordCount(const QByteArray &bytes)
{
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    if (bytes.startsWith("\xEF\xBB\xBF"))
        begin += 3;
    KeyTable keys;
    ListJson::ReadResult result;
    try {
        if (invalidUtf8At(begin, end) >= 0 || !ListJson::read(begin, end, keys, result) ||
            result.skipped > 0)
            return -1;
    } catch (const std::exception &) {
        return -1;
    }
    return static_cast<long long>(result.rows.size());
}

QString outOfMemoryReason()
{
    return QStringLiteral("Недостаточно памяти для списка");
}

} // namespace ListFile
