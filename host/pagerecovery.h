#pragma once

#include "listhistory.h"
#include "participantlistmodel.h"
#include "storage/recoverystore.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QTimer>

// Watches one page's list model: tells whether the list differs from what was last loaded
// or saved, keeps the page's recovery file up to date within a moment of every change,
// and offers what a copy that no longer runs left for the page.
//
// It follows the model's own change signals, so whatever changes the rows is covered.
class PageRecovery : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject *store READ store WRITE setStore NOTIFY storeChanged)
    Q_PROPERTY(ParticipantListModel *model READ model WRITE setModel NOTIFY modelChanged)
    Q_PROPERTY(Page page READ page WRITE setPage NOTIFY pageChanged)
    // The page's undo history: taking up an offer is one step of it, and the list path
    // follows the history's when a step is taken back.
    Q_PROPERTY(ListHistory *history READ history WRITE setHistory NOTIFY historyChanged)
    Q_PROPERTY(bool unsaved READ unsaved NOTIFY unsavedChanged)
    // The list file the editing page's rows belong to: the one last loaded, saved or
    // restored.
    Q_PROPERTY(QString listPath READ listPath NOTIFY listPathChanged)
    // Whether a copy that no longer runs left unsaved work of this page; the first such
    // offer's number of records and the time it was written.
    Q_PROPERTY(bool hasOffer READ hasOffer NOTIFY offerChanged)
    Q_PROPERTY(int offerCount READ offerCount NOTIFY offerChanged)
    Q_PROPERTY(QDateTime offerTime READ offerTime NOTIFY offerChanged)
    // The offer as the page's bar words it; empty without one.
    Q_PROPERTY(QString offerText READ offerText NOTIFY offerChanged)

public:
    enum Page { Creation = RecoveryStore::Creation, Editing = RecoveryStore::Editing };
    Q_ENUM(Page)

    // How long changes gather before the list is compared and written.
    static constexpr int settleMs = 300;

    explicit PageRecovery(QObject *parent = nullptr);
    // Writes a change still gathering, so that closing the window loses nothing.
    ~PageRecovery() override;

    QObject *store() const { return recoveryStore; }
    void setStore(QObject *store);
    ParticipantListModel *model() const { return listModel; }
    void setModel(ParticipantListModel *model);
    ListHistory *history() const { return listHistory; }
    void setHistory(ListHistory *history);
    Page page() const { return pageKind; }
    void setPage(Page page);
    bool unsaved() const { return differs; }
    // Kept by the history, whose steps bring it back; empty without one.
    QString listPath() const { return listHistory ? listHistory->listPath() : QString(); }
    bool hasOffer() const;
    int offerCount() const;
    QDateTime offerTime() const;
    QString offerText() const;

    // The list as it is now is the one in the file at `path`: after a load or a save.
    Q_INVOKABLE void markClean(const QString &listPath = QString());
    // Takes up the first offer as unsaved work: the creation page puts its records before
    // those added since the start, the editing page replaces its table and takes its path.
    Q_INVOKABLE bool restore();
    // Turns the first offer down; its file goes.
    Q_INVOKABLE void discard();
    // Compares and writes at once what is still gathering.
    Q_INVOKABLE void flush();

signals:
    void storeChanged();
    void modelChanged();
    void pageChanged();
    void historyChanged();
    void unsavedChanged();
    void listPathChanged();
    void offerChanged();
    // The recovery file could not be written; not repeated until a write succeeds again.
    void writeFailed();

private:
    void changed();
    void check();
    void setDiffers(bool value);
    void onWritten(int page, bool ok);
    QByteArray rowsText() const;
    void takeCleanDigest();
    void changing();
    // A large list is not held twice to tell whether it changed: its digest is enough.
    static QByteArray digest(const QByteArray &rows);

    QPointer<RecoveryStore> recoveryStore;
    QPointer<ParticipantListModel> listModel;
    QPointer<ListHistory> listHistory;
    Page pageKind = Creation;
    QTimer settle;
    QTimer cleanLater;
    QByteArray cleanDigest;
    QString cleanPath;
    bool differs = false;
    bool failureShown = false;
};
