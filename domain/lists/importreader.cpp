#include "importreader.h"

#include "codecs/delimitedtext.h"
#include "codecs/xlsxtable.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <new>

ImportReader::~ImportReader()
{
    control.cancel();
    wait(ULONG_MAX);
}

void ImportReader::run()
{
    // Every reader refuses what exceeds its limits, yet the memory left may be less than
    // they allow; a hostile file then ends in a notice rather than the program's end.
    try {
        ok = read(source, encoding, table, reason, &control, &list);
        // A table read in vain is freed here, not on the thread that cancelled it.
        if (control.stopped()) {
            table = SourceTable();
            ok = false;
        }
    } catch (const std::bad_alloc &) {
        table = SourceTable();
        reason = QStringLiteral("не хватает памяти");
        ok = false;
    }
}

namespace {

bool looksLikeList(const QByteArray &head)
{
    for (const char c : head) {
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            return c == '[';
    }
    return false;
}

} // namespace

bool ImportReader::read(const QString &path, const QString &encoding, SourceTable &table,
                        QString &reason, ReadControl *control, QByteArray *list)
{
    const QString local = path.startsWith(QLatin1String("file:")) ? QUrl(path).toLocalFile() : path;
    const auto fail = [&reason](const QString &text) {
        reason = text;
        return false;
    };
    // A pipe would hold the reading until something writes to it.
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
    if (list && (suffix == QLatin1String("json") ||
                 (!tableName && looksLikeList(file.peek(4096).replace("\xEF\xBB\xBF", ""))))) {
        if (file.size() > SourceLimits::MaxBytes)
            return fail(QStringLiteral("файл больше 200 МБ"));
        *list = file.readAll();
        // An empty file was refused above, so a list's bytes are never null.
        return true;
    }
    const bool workbook = head == QByteArray("PK\x03\x04") ||
                          head == QByteArray("\xD0\xCF\x11\xE0") ||
                          local.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive);
    if (workbook) {
        file.close();
        return XlsxTable::read(local, table, reason, control);
    }
    if (file.size() > SourceLimits::MaxBytes)
        return fail(QStringLiteral("файл больше 200 МБ"));
    // Read in pieces, so that a cancel is heeded while a slow disk delivers.
    QByteArray bytes;
    bytes.reserve(int(file.size()));
    while (!file.atEnd()) {
        if (control && control->stopped())
            return fail(SourceLimits::cancelledText());
        const QByteArray piece = file.read(4 << 20);
        if (piece.isEmpty())
            break;
        bytes += piece;
        if (control)
            control->report(bytes.size(), file.size(), 0, 100);
        if (bytes.size() > SourceLimits::MaxBytes)
            return fail(QStringLiteral("файл больше 200 МБ"));
    }
    file.close();
    return DelimitedText::read(std::move(bytes), table, reason, encoding, control);
}
