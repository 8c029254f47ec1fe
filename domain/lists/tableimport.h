#pragma once

#include "codecs/sourcetable.h"
#include "participantrecord.h"

#include <QDate>
#include <QStringList>
#include <vector>

// Turns a table read from a file or the clipboard into participant records: what each
// column means, guessed from its header, and the records the rows make.
namespace TableImport {

// In the order the preview offers them: the name's parts, then one per column of
// ColumnSchema that an import fills, in the order of their places, then "as is" and "skip".
// These are the places with the program's own columns; a schema that adds columns puts
// their meanings after AthleticRank, and AsIs and Skip move down (asIsMeaning()).
enum Meaning {
    Surname,
    FirstName,
    Patronymic,
    FullName,
    BirthDate,
    Organization,
    Group,
    GtoUuid,
    Sex,
    PectoralNumber,
    AthleticRank,
    // Kept in the record under the column's header.
    AsIs,
    Skip,
    MeaningCount
};

QStringList meaningNames();
int meaningCount();
int asIsMeaning();
int skipMeaning();
// The meaning that fills the column with `key`, or -1.
int meaningOfColumn(const std::string &key);
// The meaning a header names, whatever its case, spaces, punctuation and "ё"; -1 when it
// names none.
int meaningOfHeader(const QString &header);

// Whether a row has no cell but blanks.
bool isBlank(const SourceRow &row);

struct Columns
{
    // Rows from the top that are titles or headers rather than participants.
    int headerRows = 0;
    // Per column; empty where there is no header.
    QStringList headers;
    std::vector<int> meanings;
};

// The header is the first of the first five filled rows that names two meanings, or one
// in its only filled cell, together with the rows right below it that name only meanings
// (headers of two levels). A table without one gets no guesses: every column is skipped
// until the operator chooses.
Columns guessColumns(const SourceTable &table);

struct Result
{
    int rowCount = 0;
    // Empty unless asked for.
    std::vector<ParticipantRecord> records;
    // "строка 7: нет даты 31.02.2010": rows that were imported as typed all the same.
    QStringList problems;
    int gtoCount = 0;
};

// One record per row below the header that is filled in a column not skipped: a GTO
// record when the row has a birth date or an identification number, a training record
// otherwise. A preview needs only the
// counts and the problems, and is spared making the records.
Result build(const SourceTable &table, const Columns &columns, const QDate &today = QDate(),
             bool makeRecords = true);

} // namespace TableImport
