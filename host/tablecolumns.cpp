#include "tablecolumns.h"

#include "columnschema.h"

QVariantList TableColumns::columns() const
{
    QVariantList list;
    for (const ColumnSchema::Column &column : ColumnSchema::columns()) {
        list.append(QVariantMap{{QStringLiteral("role"), QString::fromStdString(column.key)},
                                {QStringLiteral("title"), column.title},
                                {QStringLiteral("editable"), column.editable}});
    }
    return list;
}

bool TableColumns::isEditable(const QString &role) const
{
    const ColumnSchema::Column *column = ColumnSchema::find(role.toStdString());
    return column && column->editable;
}

QString TableColumns::shownText(const QString &role, const QVariant &value) const
{
    if (!value.isValid() || value.userType() == QMetaType::Nullptr)
        return QString();
    const ColumnSchema::Column *column = ColumnSchema::find(role.toStdString());
    return column ? ColumnSchema::shownText(*column, value) : value.toString();
}
