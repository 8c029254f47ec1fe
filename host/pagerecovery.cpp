#include "pagerecovery.h"

#include "codecs/listjson.h"
#include "participantrules.h"

#include <QCoreApplication>
#include <QCryptographicHash>

namespace {

// Two lists as written, the records of the first before those of the second.
QByteArray joined(const QByteArray &first, const QByteArray &second)
{
    const QByteArray empty("[]");
    if (first == empty)
        return second;
    if (second == empty)
        return first;
    return first.left(first.size() - 1) + ',' + second.mid(1);
}

} // namespace

PageRecovery::PageRecovery(QObject *parent) : QObject(parent)
{
    settle.setSingleShot(true);
    settle.setInterval(settleMs);
    connect(&settle, &QTimer::timeout, this, &PageRecovery::check);
    cleanLater.setSingleShot(true);
    cleanLater.setInterval(0);
    connect(&cleanLater, &QTimer::timeout, this, &PageRecovery::takeCleanDigest);
    // The pages go only after the event loop has ended; by then the models may be gone.
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &PageRecovery::flush);
}

PageRecovery::~PageRecovery()
{
    flush();
}

void PageRecovery::setStore(QObject *store)
{
    auto *recovery = qobject_cast<RecoveryStore *>(store);
    if (recovery == recoveryStore)
        return;
    if (recoveryStore)
        disconnect(recoveryStore, nullptr, this, nullptr);
    recoveryStore = recovery;
    if (recovery) {
        connect(recovery, &RecoveryStore::offersChanged, this, &PageRecovery::offerChanged);
        // Reported from the store's writer thread, so this arrives queued.
        connect(recovery, &RecoveryStore::written, this, &PageRecovery::onWritten);
    }
    emit storeChanged();
    emit offerChanged();
}

void PageRecovery::setModel(ParticipantListModel *model)
{
    if (model == listModel)
        return;
    if (listModel)
        disconnect(listModel, nullptr, this, nullptr);
    listModel = model;
    if (model) {
        connect(model, &ParticipantListModel::listAboutToChange, this, &PageRecovery::changing);
        connect(model, &ParticipantListModel::listChanged, this, &PageRecovery::changed);
    }
    settle.stop();
    cleanDigest = digest(rowsText());
    cleanPath = listPath();
    setDiffers(false);
    emit modelChanged();
}

void PageRecovery::setPage(Page page)
{
    if (page == pageKind)
        return;
    pageKind = page;
    emit pageChanged();
    emit offerChanged();
}

bool PageRecovery::hasOffer() const
{
    return recoveryStore && !recoveryStore->offers(RecoveryStore::Page(pageKind)).isEmpty();
}

int PageRecovery::offerCount() const
{
    return hasOffer() ? recoveryStore->offers(RecoveryStore::Page(pageKind)).first().count : 0;
}

QDateTime PageRecovery::offerTime() const
{
    return hasOffer() ? recoveryStore->offers(RecoveryStore::Page(pageKind)).first().written
                      : QDateTime();
}

QString PageRecovery::offerText() const
{
    if (!hasOffer())
        return QString();
    const QString text =
        QStringLiteral("Несохранённый список с прошлого запуска: %1, %2")
            .arg(ParticipantRules::recordCountText(offerCount()),
                 offerTime().toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm")));
    // The editing page is made only when its tab is first opened: until then this is where
    // its offer is told.
    const bool editingToo =
        pageKind == Creation && !recoveryStore->offers(RecoveryStore::Editing).isEmpty();
    return editingToo ? text + QStringLiteral(". Ещё один — на вкладке редактирования") : text;
}

void PageRecovery::markClean(const QString &listPath)
{
    settle.stop();
    // So that taking a later load back brings back the file the rows were saved to.
    if (listHistory)
        listHistory->setPath(listPath);
    // A large list takes a moment to write out for its digest; that waits until the page
    // has shown the list.
    cleanDigest.clear();
    cleanLater.start();
    cleanPath = this->listPath();
    setDiffers(false);
    if (recoveryStore)
        recoveryStore->remove(RecoveryStore::Page(pageKind));
}

void PageRecovery::setHistory(ListHistory *history)
{
    if (listHistory == history)
        return;
    if (listHistory)
        disconnect(listHistory, nullptr, this, nullptr);
    listHistory = history;
    if (listHistory) {
        connect(listHistory, &ListHistory::listPathChanged, this, &PageRecovery::listPathChanged);
    }
    emit listPathChanged();
    emit historyChanged();
}

bool PageRecovery::restore()
{
    if (!hasOffer() || !listModel)
        return false;
    const auto page = RecoveryStore::Page(pageKind);
    const RecoveryStore::State state = recoveryStore->offers(page).first().state;
    // The stored bytes are UTF-8 already. What the page held before stays one step back.
    const QByteArray rows = pageKind == Creation ? joined(state.rows, rowsText()) : state.rows;
    const QStringList keys = pageKind == Editing ? state.keys : QStringList();
    const char *begin = rows.constData(), *end = begin + rows.size();
    // The editing page's list belongs to the offer's file, or to none.
    const bool loaded =
        listHistory ? listHistory->loadUtf8(begin, end, keys,
                                            pageKind == Editing ? std::optional<QString>(state.path)
                                                                : std::nullopt)
                    : listModel->loadUtf8(begin, end, keys);
    if (!loaded)
        return false;
    // This copy's file is asked for before the offer's file goes.
    check();
    recoveryStore->dropOffer(page);
    return true;
}

void PageRecovery::discard()
{
    if (hasOffer())
        recoveryStore->dropOffer(RecoveryStore::Page(pageKind));
}

void PageRecovery::flush()
{
    if (settle.isActive())
        check();
}

void PageRecovery::takeCleanDigest()
{
    cleanLater.stop();
    cleanDigest = digest(rowsText());
}

void PageRecovery::changing()
{
    // The clean list is written out before the first change, if it has not been yet.
    if (cleanLater.isActive())
        takeCleanDigest();
}

void PageRecovery::changed()
{
    // Not restarted by later changes: a stream of them is still written within a moment.
    if (!settle.isActive())
        settle.start();
}

void PageRecovery::check()
{
    settle.stop();
    if (!listModel)
        return;
    const QByteArray rows = rowsText();
    if (rows.isEmpty())
        return;
    setDiffers(digest(rows) != cleanDigest || listPath() != cleanPath);
    if (!recoveryStore)
        return;
    const auto page = RecoveryStore::Page(pageKind);
    // An empty list on the creation page holds nothing to lose.
    if (!differs || (pageKind == Creation && listModel->rowCount() == 0)) {
        recoveryStore->remove(page);
        return;
    }
    RecoveryStore::State state;
    state.rows = rows;
    if (pageKind == Editing) {
        state.path = listPath();
        for (const std::string &key : listModel->keys().names)
            state.keys.append(QString::fromStdString(key));
    }
    recoveryStore->write(page, state);
}

void PageRecovery::setDiffers(bool value)
{
    if (differs == value)
        return;
    differs = value;
    emit unsavedChanged();
}

void PageRecovery::onWritten(int page, bool ok)
{
    if (page != pageKind)
        return;
    if (ok) {
        failureShown = false;
    } else if (!failureShown) {
        failureShown = true;
        emit writeFailed();
    }
}

QByteArray PageRecovery::digest(const QByteArray &rows)
{
    return QCryptographicHash::hash(rows, QCryptographicHash::Md5) +
           QByteArray::number(rows.size());
}

QByteArray PageRecovery::rowsText() const
{
    return listModel ? listModel->listText() : QByteArray();
}
