#pragma once

#include "listrows.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A participant list read for an import, as lists from several desks are brought into
// one, and how its records meet the rows of the list they go into.
namespace ListMerge {

struct Source
{
    KeyTable keys;
    std::vector<ListRow> rows;
};

// The list in `bytes`, a file's whole content; false, with the operator's reason, for
// anything that is no list, as a load refuses it.
bool read(const QByteArray &bytes, Source &source, QString &reason);

// Per record of the source, the first row of the list equal to it in every value, and the
// first that names the same participant (identification number, bib number, or name with
// birth date, as the table marks repeats); -1 where there is none.
struct Match
{
    int exact = -1;
    int repeat = -1;
};
std::vector<Match> match(const Source &source, const std::vector<ListRow> &rows,
                         const KeyTable &keys);

// The row as a record with every key it has, in its own order.
ParticipantRecord record(const ListRow &row, const KeyTable &keys);

} // namespace ListMerge
