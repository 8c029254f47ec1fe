#include "listimport.h"

#include "codecs/delimitedtext.h"
#include "importreader.h"
#include "participantlistmodel.h"

#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <new>

ListImport::ListImport(QObject *parent) : QObject(parent), progressTimer(new QTimer(this))
{
    progressTimer->setInterval(50);
    connect(progressTimer, &QTimer::timeout, this, &ListImport::progressChanged);
}

ListImport::~ListImport()
{
    // A reading left behind by a cancel may still run; each waits for its thread.
    for (ImportReader *running : findChildren<ImportReader *>())
        delete running;
}

double ListImport::progress() const
{
    return reader ? reader->control.progress() / 1000.0 : 0;
}

QStringList ListImport::encodings() const
{
    return DelimitedText::encodings();
}

QStringList ListImport::headers() const
{
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
    return QStringLiteral("Строк: %1 (ГТО: %2, без ГТО: %3), замечаний: %4")
        .arg(result.rowCount)
        .arg(result.gtoCount)
        .arg(result.rowCount - result.gtoCount)
        .arg(result.problems.size());
}

QVariantList ListImport::meanings() const
{
    QVariantList list;
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

bool ListImport::take(SourceTable &&read, const QString &path)
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
    sourcePath = path;
    sourceName =
        path.isEmpty()
            ? QStringLiteral("буфер обмена")
            : QFileInfo(path.startsWith(QLatin1String("file:")) ? QUrl(path).toLocalFile() : path)
                  .fileName();
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
    return guarded([&] {
        SourceTable read;
        QString reason;
        if (!ImportReader::read(path, QString(), read, reason))
            return fail(reason);
        return take(std::move(read), path);
    });
}

void ListImport::startFile(const QString &path, const QString &encoding)
{
    cancelReading();
    reader = new ImportReader(path, encoding, this);
    connect(reader, &QThread::finished, this, [this, started = reader] { readerDone(started); });
    reader->start();
    progressTimer->start();
    emit readingChanged();
    emit progressChanged();
}

void ListImport::rereadAs(const QString &encoding)
{
    if (isReady && !sourcePath.isEmpty() && encoding != table.encoding)
        startFile(sourcePath, encoding);
}

void ListImport::cancelReading()
{
    if (!reader)
        return;
    // The thread ends at its next look at the flag, and is deleted then.
    reader->control.cancel();
    reader = nullptr;
    progressTimer->stop();
    emit readingChanged();
}

void ListImport::readerDone(ImportReader *done)
{
    done->deleteLater();
    if (done != reader)
        return;
    reader = nullptr;
    progressTimer->stop();
    const bool opened = done->ok
                            ? guarded([&] { return take(std::move(done->table), done->path()); })
                            : fail(done->reason);
    emit readingChanged();
    emit readFinished(opened);
}

bool ListImport::openText(const QString &text)
{
    return guarded([&] {
        SourceTable read;
        QString reason;
        if (!DelimitedText::parse(text, QLatin1Char('\t'), read, reason))
            return fail(reason);
        return take(std::move(read), QString());
    });
}

void ListImport::setMeaning(int column, int meaning)
{
    if (!isReady || column < 0 || std::size_t(column) >= columns.meanings.size() || meaning < 0 ||
        meaning >= TableImport::meaningCount() || columns.meanings[std::size_t(column)] == meaning)
        return;
    columns.meanings[std::size_t(column)] = meaning;
    result = TableImport::build(table, columns, QDate(), false);
    emit resultChanged();
}

std::vector<ParticipantRecord> ListImport::records() const
{
    return isReady ? TableImport::build(table, columns).records : std::vector<ParticipantRecord>();
}

bool ListImport::addTo(ParticipantListModel *model)
{
    if (!isReady || !model)
        return false;
    model->appendRecords(records());
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
    sourcePath.clear();
    sourceName.clear();
    emit tableChanged();
    emit resultChanged();
}
