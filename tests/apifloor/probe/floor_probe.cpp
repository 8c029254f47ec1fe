// Uses two things Qt 5.9 lacks, so that the floor check can show it still finds them:
// a function (5.11) and a type alias that leaves no symbol (5.10).
#include <QAbstractListModel>

bool probe(const QAbstractListModel &model, const QModelIndex &index)
{
    const qsizetype rows = model.rowCount();
    return rows > 0 && model.checkIndex(index);
}
