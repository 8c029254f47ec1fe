#pragma once

#include "storage/safesave.h"

#include <QObject>
#include <QString>
#include <QUrl>

class ParticipantListModel;

// Writes what the editing table holds to a spreadsheet, a CSV file or a printable PDF.
// The table and its list file stay as they are; the target is replaced only by a whole
// new file.
class ListExporter : public QObject
{
    Q_OBJECT
    // Cells of the last spreadsheet written whose characters a sheet cannot hold became
    // U+FFFD.
    Q_PROPERTY(int replacedCells READ replacedCells NOTIFY replacedCellsChanged)

public:
    // Methods take a format as int, which every Qt 5 engine hands over from a script.
    enum Format { Excel, Csv, Pdf };
    Q_ENUM(Format)

    // Result codes of save(); the page treats every code above Ok as failure.
    enum Result {
        Ok = SafeSave::Ok,
        CannotOpen = SafeSave::CannotOpen,
        WriteFailed = SafeSave::WriteFailed,
        // The document could not be made; nothing was written.
        NotMade = 4,
        // The target is the list's own file, under whatever name; nothing was written.
        IsListFile = SafeSave::Refused,
    };
    Q_ENUM(Result)

    explicit ListExporter(QObject *parent = nullptr) : QObject(parent) {}

    // Exports the model's rows to the local file `target`. `listPath` names the list in the
    // PDF's title and is never written, nor is `loadedPath`, the file the rows came from when
    // the path was changed since: a target that is either, by any of its names, gives
    // IsListFile.
    // `newPagePerOrganization` starts each organization of the PDF on a page of its own.
    Q_INVOKABLE int save(ParticipantListModel *model, int format, const QUrl &target,
                         const QString &listPath, bool newPagePerOrganization = false,
                         const QString &loadedPath = QString());
    int replacedCells() const { return replaced; }

    // The list's path with the format's extension instead of its own, as a file URL; an
    // empty path gives a name in the home folder.
    Q_INVOKABLE static QUrl suggestedUrl(const QString &listPath, int format);
    // The title of a printed list: its file's name without the extension.
    static QString listName(const QString &listPath);
    // A file URL whose name has no extension gets the format's.
    Q_INVOKABLE static QUrl withSuffix(const QUrl &file, int format);
    // The format's extension without the dot.
    Q_INVOKABLE static QString suffix(int format);
    // The cause of a failed export for the notice's smaller line; empty where there is
    // nothing more to say.
    Q_INVOKABLE static QString failureText(int result);
    // The notice after a spreadsheet whose cells lost characters a sheet cannot hold.
    Q_INVOKABLE static QString replacedText(int cells);

signals:
    void replacedCellsChanged();

private:
    int replaced = 0;
};
