#include "listimport.h"

#include "codecs/delimitedtext.h"
#include "codecs/listfile.h"
#include "codecs/xlsxtable.h"
#include "listtext.h"
#include "participantlistmodel.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <algorithm>
#include <new>

namespace {

// A value as the preview shows it: a string as it is, any other value as its JSON text.
QString shownValue(const ListValue *value)
{
    if (!value)
        return QString();
    if (value->type == ListValue::Type::String)
        return ListText::fromUtf8(value->text);
    std::string text;
    ListJson::appendValue(text, *value);
    return QString::fromStdString(text);
}

bool looksLikeList(const QByteArray &head)
{
    for (const char c : head) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '[';
    }
    return false;
}

} // namespace

int ListImport::shownKeys() const
{
    // Every key comes along; the preview shows as many columns as a table may have.
    return std::min(listSource.keys.size(), SourceLimits::MaxColumns);
}

QStringList ListImport::headers() const
{
    if (listMode) {
        QStringList names;
        for (int key = 0; key < shownKeys(); ++key)
            names.append(QString::fromStdString(listSource.keys.names[std::size_t(key)]));
        return names;
    }
    QStringList texts = columns.headers;
    for (int c = 0; c < texts.size(); ++c) {
        if (texts[c].isEmpty())
            texts[c] = QStringLiteral("Столбец %1").arg(c + 1);
    }
    return texts;
}

QVariantList ListImport::sample() const
{
    QVariantList rows;
    if (listMode) {
        for (std::size_t r = 0; r < listSource.rows.size() && rows.size() < SampleRows; ++r) {
            QStringList texts;
            for (int key = 0; key < shownKeys(); ++key)
                texts.append(shownValue(findValue(listSource.rows[r], key)));
            rows.append(texts);
        }
        return rows;
    }
    for (std::size_t r = std::size_t(columns.headerRows);
         r < table.rows.size() && rows.size() < SampleRows; ++r) {
        if (TableImport::isBlank(table.rows[r]))
            continue;
        QStringList texts;
        for (int c = 0; c < table.columnCount; ++c) {
            const auto &cells = table.rows[r].cells;
            texts.append(std::size_t(c) < cells.size() ? cells[std::size_t(c)].text : QString());
        }
        rows.append(texts);
    }
    return rows;
}

QString ListImport::countsText() const
{
    if (listMode)
        return QStringLiteral("Записей: %1 (ГТО: %2, без ГТО: %3), уже в списке: %4, из них "
                              "точных повторов: %5")
            .arg(result.rowCount)
            .arg(result.gtoCount)
            .arg(result.rowCount - result.gtoCount)
            .arg(repeats)
            .arg(exactRepeats);
    return QStringLiteral("Строк: %1 (ГТО: %2, без ГТО: %3), замечаний: %4")
        .arg(result.rowCount)
        .arg(result.gtoCount)
        .arg(result.rowCount - result.gtoCount)
        .arg(result.problems.size());
}

QVariantList ListImport::meanings() const
{
    QVariantList list;
    if (listMode) {
        for (int key = 0; key < shownKeys(); ++key)
            list.append(TableImport::asIsMeaning());
        return list;
    }
    for (const int meaning : columns.meanings)
        list.append(meaning);
    return list;
}

QStringList ListImport::problems() const
{
    if (result.problems.size() <= ShownProblems)
        return result.problems;
    return result.problems.mid(0, ShownProblems)
           << QStringLiteral("… и ещё %1").arg(result.problems.size() - ShownProblems);
}

bool ListImport::fail(const QString &reason)
{
    // The page shows it under its load notice, as a sentence of its own.
    failureText = reason.left(1).toUpper() + reason.mid(1);
    emit failureChanged();
    return false;
}

bool ListImport::take(SourceTable &&read, const QString &name)
{
    TableImport::Columns guessed = TableImport::guessColumns(read);
    // A table without a header has every column skipped, and no record until the
    // operator gives a column a meaning; it opens all the same when it has rows to show.
    const auto firstRow =
        read.rows.begin() + std::min<std::ptrdiff_t>(guessed.headerRows, read.rows.size());
    if (std::all_of(firstRow, read.rows.end(), TableImport::isBlank))
        return fail(QStringLiteral("в таблице нет строк"));
    TableImport::Result built = TableImport::build(read, guessed, QDate(), false);
    table = std::move(read);
    columns = std::move(guessed);
    result = std::move(built);
    listMode = false;
    listSource = ListMerge::Source();
    matches.clear();
    exactRepeats = repeats = 0;
    stamp = FileStamp();
    sourceName = name;
    isReady = true;
    emit tableChanged();
    emit resultChanged();
    return true;
}

template <typename Open> bool ListImport::guarded(Open &&open)
{
    // Every reader refuses what exceeds its limits, yet the memory left may be less than
    // they allow; a hostile file then ends in a notice rather than the program's end.
    try {
        return open();
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("не хватает памяти"));
    }
}

bool ListImport::openFile(const QString &path)
{
    return guarded([&] { return readFile(path); });
}

bool ListImport::readFile(const QString &path)
{
    const QString local = path.startsWith(QLatin1String("file:")) ? QUrl(path).toLocalFile() : path;
    // A pipe would hold the window until something writes to it.
    const QFileInfo info(local);
    if (info.exists() && !info.isFile())
        return fail(QStringLiteral("это не обычный файл"));
    QFile file(local);
    if (!file.open(QIODevice::ReadOnly))
        return fail(SourceLimits::unreadableText());
    if (file.size() == 0)
        return fail(QStringLiteral("файл пуст"));
    const QByteArray head = file.peek(4);
    // A list by its name, or by its first character where the name tells no other kind.
    const QString suffix = QFileInfo(local).suffix().toLower();
    const bool tableName = suffix == QLatin1String("csv") || suffix == QLatin1String("txt") ||
                           suffix == QLatin1String("xlsx");
    if (suffix == QLatin1String("json") ||
        (!tableName && looksLikeList(file.peek(4096).replace("\xEF\xBB\xBF", "")))) {
        if (file.size() > SourceLimits::MaxBytes)
            return fail(QStringLiteral("файл больше 200 МБ"));
        QByteArray bytes = file.readAll();
        file.close();
        return takeList(bytes, local);
    }
    const bool workbook = head == QByteArray("PK\x03\x04") ||
                          head == QByteArray("\xD0\xCF\x11\xE0") ||
                          local.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    SourceTable read;
    QString reason;
    if (workbook) {
        file.close();
        if (!XlsxTable::read(local, read, reason))
            return fail(reason);
    } else {
        if (file.size() > SourceLimits::MaxBytes)
            return fail(QStringLiteral("файл больше 200 МБ"));
        if (!DelimitedText::read(file.readAll(), read, reason))
            return fail(reason);
    }
    return take(std::move(read), QFileInfo(local).fileName());
}

bool ListImport::openText(const QString &text)
{
    return guarded([&] {
        SourceTable read;
        QString reason;
        if (!DelimitedText::parse(text, QLatin1Char('\t'), read, reason))
            return fail(reason);
        return take(std::move(read), QStringLiteral("буфер обмена"));
    });
}

bool ListImport::takeList(const QByteArray &bytes, const QString &path)
{
    // What the file held as it was read, for a merge that saves over it afterwards.
    const FileStamp read = FileStamp::withBytes(path, bytes);
    QByteArray text = bytes;
    ListFile::trim(text);
    ListMerge::Source list;
    QString reason;
    if (!ListMerge::read(text, list, reason))
        return fail(reason);
    const std::vector<ListMerge::Match> found =
        target ? ListMerge::match(list, target->rows(), target->keys())
               : std::vector<ListMerge::Match>(list.rows.size());
    TableImport::Result counted;
    counted.rowCount = int(list.rows.size());
    const int isGto = list.keys.find("isGto");
    exactRepeats = repeats = 0;
    for (std::size_t r = 0; r < list.rows.size(); ++r) {
        const ListValue *gto = findValue(list.rows[r], isGto);
        if (gto && gto->type == ListValue::Type::Boolean && gto->boolean)
            ++counted.gtoCount;
        if (found[r].repeat < 0)
            continue;
        ++repeats;
        const bool exact = found[r].exact >= 0;
        exactRepeats += exact ? 1 : 0;
        counted.problems.append(QStringLiteral("запись %1: уже в списке: запись %2%3")
                                    .arg(r + 1)
                                    .arg(found[r].repeat + 1)
                                    .arg(exact ? QStringLiteral(", точный повтор") : QString()));
    }
    table = SourceTable();
    columns = TableImport::Columns();
    result = std::move(counted);
    listSource = std::move(list);
    matches = found;
    stamp = read;
    listMode = true;
    setSkipExactRepeats(true);
    sourceName = QFileInfo(path).fileName();
    isReady = true;
    emit tableChanged();
    emit resultChanged();
    return true;
}

std::vector<ParticipantRecord> ListImport::listRecords(bool skipRepeats) const
{
    std::vector<ParticipantRecord> records;
    records.reserve(listSource.rows.size());
    for (std::size_t r = 0; r < listSource.rows.size(); ++r) {
        if (!(skipRepeats && matches[r].exact >= 0))
            records.push_back(ListMerge::record(listSource.rows[r], listSource.keys));
    }
    return records;
}

void ListImport::setList(ParticipantListModel *list)
{
    if (target == list)
        return;
    target = list;
    emit listChanged();
}

void ListImport::setSkipExactRepeats(bool skip)
{
    if (skipExact == skip)
        return;
    skipExact = skip;
    emit skipExactRepeatsChanged();
}

void ListImport::setMeaning(int column, int meaning)
{
    if (!isReady || listMode || column < 0 || std::size_t(column) >= columns.meanings.size() ||
        meaning < 0 || meaning >= TableImport::meaningCount() ||
        columns.meanings[std::size_t(column)] == meaning)
        return;
    columns.meanings[std::size_t(column)] = meaning;
    result = TableImport::build(table, columns, QDate(), false);
    emit resultChanged();
}

std::vector<ParticipantRecord> ListImport::records() const
{
    if (listMode)
        return listRecords(false);
    return isReady ? TableImport::build(table, columns).records : std::vector<ParticipantRecord>();
}

bool ListImport::addTo(ParticipantListModel *model)
{
    if (!isReady || !model)
        return false;
    model->appendRecords(listMode ? listRecords(skipExact) : records());
    cancel();
    return true;
}

bool ListImport::replaceIn(ParticipantListModel *model)
{
    if (!isReady || !model)
        return false;
    model->replaceRecords(records());
    cancel();
    return true;
}

void ListImport::cancel()
{
    if (!isReady)
        return;
    isReady = false;
    table = SourceTable();
    columns = TableImport::Columns();
    result = TableImport::Result();
    listMode = false;
    listSource = ListMerge::Source();
    matches.clear();
    exactRepeats = repeats = 0;
    sourceName.clear();
    emit tableChanged();
    emit resultChanged();
}
