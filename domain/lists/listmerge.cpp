#include "listmerge.h"

#include "codecs/listfile.h"
#include "listduplicates.h"

#include <algorithm>
#include <exception>
#include <string>
#include <unordered_map>

namespace ListMerge {

namespace {

// The row's values in the order of their key names, so that rows with the same keys in
// another order read the same.
std::string everyValue(const ListRow &row, const KeyTable &keys)
{
    std::vector<const ListField *> fields;
    fields.reserve(row.size());
    for (const ListField &field : row)
        fields.push_back(&field);
    std::sort(fields.begin(), fields.end(), [&keys](const ListField *a, const ListField *b) {
        return keys.names[std::size_t(a->key)] < keys.names[std::size_t(b->key)];
    });
    std::string text;
    for (const ListField *field : fields) {
        ListJson::appendQuoted(text, keys.names[std::size_t(field->key)]);
        text += ':';
        ListJson::appendValue(text, field->value);
        text += ',';
    }
    return text;
}

} // namespace

bool read(const QByteArray &bytes, Source &source, QString &reason)
{
    const char *begin = bytes.constData();
    const char *end = begin + bytes.size();
    try {
        const long long badByte = ListFile::invalidUtf8At(begin, end);
        if (badByte >= 0) {
            reason = ListFile::notUtf8Reason(begin, end, badByte);
            return false;
        }
        ListJson::ReadResult result;
        if (!ListJson::read(begin, end, source.keys, result)) {
            reason = ListFile::readErrorReason(begin, end, result.error);
            return false;
        }
        source.rows = std::move(result.rows);
    } catch (const std::exception &) {
        reason = ListFile::outOfMemoryReason();
        return false;
    }
    return true;
}

std::vector<Match> match(const Source &source, const std::vector<ListRow> &rows,
                         const KeyTable &keys)
{
    std::unordered_map<std::string, int> exactRows;
    std::unordered_map<std::uint64_t, int> sameRows[ListDuplicates::KindCount];
    const std::vector<int> listKeys = ListDuplicates::keyIndices(keys);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        exactRows.emplace(everyValue(rows[r], keys), int(r));
        const ListDuplicates::RowKeys same = ListDuplicates::rowKeys(rows[r], listKeys);
        for (int kind = 0; kind < ListDuplicates::KindCount; ++kind) {
            if (same[std::size_t(kind)] != 0)
                sameRows[kind].emplace(same[std::size_t(kind)], int(r));
        }
    }
    std::vector<Match> matches(source.rows.size());
    const std::vector<int> sourceKeys = ListDuplicates::keyIndices(source.keys);
    for (std::size_t r = 0; r < source.rows.size(); ++r) {
        Match &found = matches[r];
        const auto exact = exactRows.find(everyValue(source.rows[r], source.keys));
        if (exact != exactRows.end())
            found.exact = found.repeat = exact->second;
        const ListDuplicates::RowKeys same = ListDuplicates::rowKeys(source.rows[r], sourceKeys);
        for (int kind = 0; kind < ListDuplicates::KindCount && found.repeat < 0; ++kind) {
            const auto row = sameRows[kind].find(same[std::size_t(kind)]);
            if (same[std::size_t(kind)] != 0 && row != sameRows[kind].end())
                found.repeat = row->second;
        }
    }
    return matches;
}

ParticipantRecord record(const ListRow &row, const KeyTable &keys)
{
    ParticipantRecord made;
    made.fields.reserve(row.size());
    for (const ListField &field : row)
        made.fields.emplace_back(keys.names[std::size_t(field.key)], field.value);
    return made;
}

} // namespace ListMerge
