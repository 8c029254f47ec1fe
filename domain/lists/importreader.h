#pragma once

#include "codecs/sourcetable.h"

#include <QThread>

// Reads a table file on a thread of its own, so that the window keeps drawing; the
// result is taken on the thread that started it, once finished() is emitted.
class ImportReader : public QThread
{
    Q_OBJECT

public:
    // `encoding` names how to read delimited text; empty to detect it.
    ImportReader(const QString &path, const QString &encoding, QObject *parent = nullptr)
        : QThread(parent), source(path), encoding(encoding)
    {
    }
    ~ImportReader() override;

    // Reads `path` on the calling thread: a .xlsx, .csv or .txt file, by path or file URL.
    // A participant list (.json, or text that starts as one) is not read as a table: its
    // bytes go to `list`, which the list import compares with the open list.
    static bool read(const QString &path, const QString &encoding, SourceTable &table,
                     QString &reason, ReadControl *control = nullptr, QByteArray *list = nullptr);

    QString path() const { return source; }

    ReadControl control;
    // Valid once finished.
    bool ok = false;
    SourceTable table;
    QByteArray list;
    QString reason;

protected:
    void run() override;

private:
    QString source;
    QString encoding;
};
