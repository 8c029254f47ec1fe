#pragma once

#include <QObject>
#include <QString>

// The system clipboard's text, for pasting rows copied from a spreadsheet; the documents
// have no clipboard of their own.
class Clipboard : public QObject
{
    Q_OBJECT

public:
    explicit Clipboard(QObject *parent = nullptr) : QObject(parent) {}

    Q_INVOKABLE QString text() const;
};
