#pragma once

#include <QObject>
#include <QVariant>

// The editing table's columns for the views, from ColumnSchema: their roles, titles and
// whether a cell is edited, and each value as a cell shows it.
class TableColumns : public QObject
{
    Q_OBJECT
    // Per column, in order: {role, title, editable}.
    Q_PROPERTY(QVariantList columns READ columns CONSTANT)

public:
    using QObject::QObject;

    QVariantList columns() const;
    Q_INVOKABLE bool isEditable(const QString &role) const;
    // A missing or null value as nothing, a step by its rule, anything else as its text.
    Q_INVOKABLE QString shownText(const QString &role, const QVariant &value) const;
};
