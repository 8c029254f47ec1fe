#include "listexporter.h"

#include "codecs/csvexport.h"
#include "codecs/exporttable.h"
#include "codecs/pdfexport.h"
#include "codecs/xlsxexport.h"
#include "participantlistmodel.h"

#include <QDir>
#include <QFileInfo>

int ListExporter::save(ParticipantListModel *model, int format, const QUrl &target,
                       const QString &listPath, bool newPagePerOrganization,
                       const QString &loadedPath)
{
    if (replaced != 0) {
        replaced = 0;
        emit replacedCellsChanged();
    }
    const QString path = target.toLocalFile();
    if (!model || path.isEmpty())
        return CannotOpen;
    // An export never takes the place of the list it was made from, by any of its names:
    // told here, and once more right before the file is written.
    SafeSave::Options options;
    options.keep = {FileId::of(listPath), FileId::of(loadedPath)};
    if (options.keeps(FileId::of(path)))
        return IsListFile;
    try {
        const ExportTable table = ExportTable::build(model->rows(), model->keys());
        QByteArray bytes;
        switch (format) {
        case Excel:
            if (!XlsxExport::write(table, bytes, &replaced))
                return NotMade;
            if (replaced > 0)
                emit replacedCellsChanged();
            break;
        case Csv:
            bytes = CsvExport::write(table);
            break;
        case Pdf: {
            PdfExport::Options options;
            options.title = listName(listPath);
            options.printDate = QDate::currentDate();
            options.newPagePerOrganization = newPagePerOrganization;
            if (!PdfExport::write(table, options, bytes))
                return NotMade;
            break;
        }
        default:
            return NotMade;
        }
        return SafeSave::write(path, bytes, options);
    } catch (const std::exception &) {
        return NotMade;
    }
}

QString ListExporter::failureText(int result)
{
    return result == IsListFile ? QStringLiteral("Это файл самого списка") : QString();
}

QString ListExporter::replacedText(int cells)
{
    return QStringLiteral(
               "Знаки, которых не может быть в Excel, заменены на «\uFFFD» в ячейках: %1")
        .arg(cells);
}

QString ListExporter::suffix(int format)
{
    switch (format) {
    case Excel:
        return QStringLiteral("xlsx");
    case Csv:
        return QStringLiteral("csv");
    default:
        return QStringLiteral("pdf");
    }
}

// The file's name without its extension.
static QString baseName(const QFileInfo &file)
{
    return file.suffix().isEmpty() ? file.fileName() : file.completeBaseName();
}

QString ListExporter::listName(const QString &listPath)
{
    const QString name = listPath.isEmpty() ? QString() : baseName(QFileInfo(listPath));
    return name.isEmpty() ? QStringLiteral("Список участников") : name;
}

QUrl ListExporter::suggestedUrl(const QString &listPath, int format)
{
    const QFileInfo list(listPath.isEmpty() ? QDir::home().filePath(QStringLiteral("Список"))
                                            : listPath);
    QString base = baseName(list);
    if (base.isEmpty())
        base = QStringLiteral("Список");
    return QUrl::fromLocalFile(
        list.absoluteDir().filePath(base + QLatin1Char('.') + suffix(format)));
}

QUrl ListExporter::withSuffix(const QUrl &file, int format)
{
    const QString path = file.toLocalFile();
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty())
        return file;
    return QUrl::fromLocalFile(path + QLatin1Char('.') + suffix(format));
}
