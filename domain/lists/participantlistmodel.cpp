#include "participantlistmodel.h"

#include "codecs/listfile.h"
#include "codecs/listjson.h"
#include "columnschema.h"
#include "listtext.h"
#include "participantrules.h"
#include "storage/safesave.h"

#include <QDebug>
#include <algorithm>
#include <climits>

namespace {

// A role per column of the schema, in its order, and one for the kind of record.
std::vector<std::string> roleKeyNames()
{
    std::vector<std::string> names;
    for (const ColumnSchema::Column &column : ColumnSchema::columns())
        names.push_back(column.key);
    names.push_back(ColumnSchema::kindKey);
    return names;
}

} // namespace

ParticipantListModel::ParticipantListModel(QObject *parent)
    : QAbstractListModel(parent), roleKeyNames(::roleKeyNames()), roleKeys(roleKeyNames.size(), -1)
{
}

ParticipantListModel::~ParticipantListModel() = default;

int ParticipantListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(listRows.size());
}

QVariant ParticipantListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.parent().isValid() ||
        index.row() >= int(listRows.size()))
        return QVariant();
    const int key = keyOfRole(role);
    const ListValue *value = key < 0 ? nullptr : findValue(listRows[std::size_t(index.row())], key);
    if (!value)
        return QVariant();
    switch (value->type) {
    case ListValue::Type::Boolean:
        return value->boolean;
    case ListValue::Type::Null:
        return QVariant::fromValue(nullptr);
    case ListValue::Type::Number:
        // As spelled in the file: a double would show 12345678901234567890 with other
        // digits, and an edit started on that cell would write them back.
    default:
        return ListText::fromUtf8(value->text);
    }
}

QHash<int, QByteArray> ParticipantListModel::roleNames() const
{
    QHash<int, QByteArray> names;
    for (std::size_t i = 0; i < roleKeyNames.size(); ++i)
        names.insert(NameRole + int(i), QByteArray::fromStdString(roleKeyNames[i]));
    return names;
}

void ParticipantListModel::setKeyOrder(KeyOrder keyOrder)
{
    if (order == keyOrder)
        return;
    order = keyOrder;
    emit keyOrderChanged();
}

int ParticipantListModel::keyOfRole(int role) const
{
    const int i = role - NameRole;
    return i >= 0 && std::size_t(i) < roleKeys.size() ? roleKeys[std::size_t(i)] : -1;
}

void ParticipantListModel::updateRoleKeys()
{
    for (std::size_t i = 0; i < roleKeys.size(); ++i)
        roleKeys[i] = keyTable.find(roleKeyNames[i]);
}

bool ParticipantListModel::load(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return loadUtf8(bytes.constData(), bytes.constData() + bytes.size());
}

bool ParticipantListModel::loadFile(const QString &path)
{
    QByteArray bytes;
    QString reason;
    try {
        if (!ListFile::read(path, bytes, reason))
            return failLoad(reason);
    } catch (const std::bad_alloc &) {
        return failLoad(ListFile::outOfMemoryReason());
    }
    return loadUtf8(bytes.constData(), bytes.constData() + bytes.size());
}

bool ParticipantListModel::loadUtf8(const char *begin, const char *end, const QStringList &keyOrder)
{
    try {
        // The JSON reader would take a bad byte outside a string for a syntax error.
        const long long badByte = ListFile::invalidUtf8At(begin, end);
        if (badByte >= 0)
            return failLoad(ListFile::notUtf8Reason(begin, end, badByte));
        // Keys met by a load that fails must not enter the order: they go again. A copy of
        // the table instead would make every load pay for all the keys met before.
        struct NewKeys
        {
            KeyTable &keys;
            const int before = keys.size();
            bool kept = false;
            ~NewKeys()
            {
                if (!kept)
                    keys.truncate(before);
            }
        } newKeys{keyTable};
        for (const QString &key : keyOrder)
            keyTable.intern(key.toStdString());
        ListJson::ReadResult result;
        if (!ListJson::read(begin, end, keyTable, result))
            return failLoad(ListFile::readErrorReason(begin, end, result.error));
        newKeys.kept = true;
        if (result.skipped > 0)
            qWarning("List file: %lld element(s) that are not objects skipped, the first at "
                     "index %lld",
                     result.skipped, result.firstSkipped);
        const bool countChanges = result.rows.size() != listRows.size();
        emit listAboutToChange(RowsReplaced);
        beginResetModel();
        listRows.swap(result.rows);
        updateRoleKeys();
        endResetModel();
        if (countChanges)
            emit countChanged();
        emit listChanged(RowsReplaced);
        if (!lastLoadError.isEmpty()) {
            lastLoadError.clear();
            emit loadErrorChanged();
        }
        return true;
    } catch (const std::exception &) {
        return failLoad(ListFile::outOfMemoryReason());
    }
}

bool ParticipantListModel::failLoad(const QString &reason)
{
    if (lastLoadError != reason) {
        lastLoadError = reason;
        emit loadErrorChanged();
    }
    return false;
}

QByteArray ParticipantListModel::listText() const
{
    try {
        return ListJson::write(listRows, keyTable,
                               order == RecordOrder ? ListJson::KeyOrder::Record
                                                    : ListJson::KeyOrder::FirstMet);
    } catch (const std::exception &) {
        return QByteArray();
    }
}

QString ParticipantListModel::toJson() const
{
    return QString::fromUtf8(listText());
}

int ParticipantListModel::saveFile(const QString &path) const
{
    QByteArray bytes = listText();
    if (bytes.isEmpty())
        return SafeSave::WriteFailed;
    bytes.append('\n');
    return SafeSave::write(path, bytes);
}

bool ParticipantListModel::setValue(int row, const QString &key, const QString &text)
{
    if (row < 0 || std::size_t(row) >= listRows.size())
        return false;
    emit listAboutToChange(RowEdited);
    int keyIndex = -1;
    try {
        const int keyCount = keyTable.size();
        keyIndex = keyTable.intern(key.toStdString());
        if (keyTable.size() != keyCount)
            updateRoleKeys();
        valueFor(listRows[std::size_t(row)], keyIndex) = ListValue::string(text);
    } catch (const std::exception &) {
        emit listChanged(RowEdited);
        return false;
    }
    emitRowChanged(row, keyIndex);
    emit listChanged(RowEdited);
    return true;
}

bool ParticipantListModel::editCell(int row, const QString &key, const QString &text)
{
    if (!setValue(row, key, text))
        return false;
    if (key == QLatin1String("birthDate"))
        setValue(row, QStringLiteral("step"), ParticipantRules::stepTextForBirthDate(text));
    return true;
}

void ParticipantListModel::emitRowChanged(int row, int key)
{
    QVector<int> roles;
    const auto role = std::find(roleKeys.begin(), roleKeys.end(), key);
    if (role != roleKeys.end())
        roles.append(NameRole + int(role - roleKeys.begin()));
    emit dataChanged(index(row), index(row), roles);
}

bool ParticipantListModel::remove(int row)
{
    if (row < 0 || std::size_t(row) >= listRows.size())
        return false;
    emit listAboutToChange(RowRemoved);
    beginRemoveRows(QModelIndex(), row, row);
    listRows.erase(listRows.begin() + row);
    endRemoveRows();
    emit countChanged();
    emit listChanged(RowRemoved);
    return true;
}

bool ParticipantListModel::append(const QVariant &record)
{
    if (record.userType() != qMetaTypeId<ParticipantRecord>())
        return false;
    append(record.value<ParticipantRecord>());
    return true;
}

ListRow ParticipantListModel::rowOf(const ParticipantRecord &record)
{
    ListRow row;
    row.reserve(record.fields.size());
    for (const auto &field : record.fields)
        valueFor(row, keyTable.intern(field.first)) = field.second;
    return row;
}

void ParticipantListModel::append(const ParticipantRecord &record)
{
    appendRecords({record});
}

void ParticipantListModel::appendRecords(const std::vector<ParticipantRecord> &records)
{
    if (records.empty())
        return;
    const int keyCount = keyTable.size();
    std::vector<ListRow> added;
    added.reserve(records.size());
    for (const ParticipantRecord &record : records)
        added.push_back(rowOf(record));
    if (keyTable.size() != keyCount)
        updateRoleKeys();
    const int at = int(listRows.size());
    emit listAboutToChange(RowsAdded);
    beginInsertRows(QModelIndex(), at, at + int(added.size()) - 1);
    listRows.insert(listRows.end(), std::make_move_iterator(added.begin()),
                    std::make_move_iterator(added.end()));
    endInsertRows();
    emit countChanged();
    emit listChanged(RowsAdded);
}

void ParticipantListModel::replaceRecords(const std::vector<ParticipantRecord> &records)
{
    const int keyCount = keyTable.size();
    std::vector<ListRow> rows;
    rows.reserve(records.size());
    for (const ParticipantRecord &record : records)
        rows.push_back(rowOf(record));
    const bool countChanges = rows.size() != listRows.size();
    emit listAboutToChange(RowsReplaced);
    beginResetModel();
    listRows.swap(rows);
    if (keyTable.size() != keyCount)
        updateRoleKeys();
    endResetModel();
    if (countChanges)
        emit countChanged();
    emit listChanged(RowsReplaced);
}

void ParticipantListModel::clear()
{
    if (listRows.empty())
        return;
    emit listAboutToChange(RowsReplaced);
    beginResetModel();
    listRows.clear();
    endResetModel();
    emit countChanged();
    emit listChanged(RowsReplaced);
}
