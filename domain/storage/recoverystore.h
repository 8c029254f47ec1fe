#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class QLockFile;

// Keeps each page's unsaved list in a recovery file, so that nothing typed is lost when
// the window closes or the machine stops. Every running copy of the program holds a lock
// of its own and writes only its own files; the files of a copy that no longer runs are
// offered to the next copy that claims them.
//
// A recovery file is one line of JSON about the page, then the list exactly as a save
// writes it: the rows and one line feed.
class RecoveryStore : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString folder READ folder CONSTANT)

public:
    enum Page { Creation, Editing };
    Q_ENUM(Page)

    // What a page needs to take up its unsaved work again.
    struct State
    {
        // Editing page only: the list file the table belongs to, and the table's key
        // order, which decides how a save orders each row's keys.
        QString path;
        QStringList keys;
        // The list as a save writes it, without the final line feed.
        QByteArray rows;
    };

    // A recovery file left by a copy that no longer runs.
    struct Offer
    {
        QString file;
        QDateTime written;
        int count = 0;
        State state;
    };

    explicit RecoveryStore(const QString &folder, QObject *parent = nullptr);
    // Finishes the writes asked for, then gives up the locks.
    ~RecoveryStore() override;

    QString folder() const { return folderPath; }
    // This copy's recovery file of the page.
    QString fileOf(Page page) const;

    // Takes over the recovery files of copies that no longer run, each an offer of its
    // page, newest first. A damaged file is set aside under a new name with a warning.
    Q_INVOKABLE void claimOrphans();
    const QList<Offer> &offers(Page page) const;
    // Forgets the page's first offer, restored or turned down; its file goes once the
    // writes asked for before are done, so a restore that first writes this copy's file
    // loses nothing if the program stops in between.
    void dropOffer(Page page);

    // Replaces this copy's recovery file of the page, off the calling thread. Of writes
    // not yet begun only the last one of a file is done.
    void write(Page page, const State &state);
    void remove(Page page);
    // Blocks until every write asked for is done.
    void waitForWrites();

    static QByteArray encode(Page page, const State &state);
    // False for anything that encode() did not make for this page; `count` is the number
    // of rows.
    static bool decode(const QByteArray &bytes, Page page, State &state, int &count);

signals:
    void offersChanged();
    // A write or removal of this copy's file of the page has been done, or has failed.
    void written(int page, bool ok);

private:
    struct Job
    {
        QString path;
        QByteArray bytes;
        bool remove = false;
        // The page to report to, or -1.
        int page = -1;
    };

    void enqueue(Job job);
    void runWriter();
    bool claim(const QString &file, Page page);
    void setAside(const QString &file);

    QString folderPath;
    QString id;
    std::unique_ptr<QLockFile> ownLock;
    // Locks of the copies whose files this one took over.
    std::map<QString, std::unique_ptr<QLockFile>> claimedLocks;
    QList<Offer> pageOffers[2];
    QStringList dropped;

    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable idle;
    std::deque<Job> jobs;
    bool busy = false;
    bool stopping = false;
    std::thread writer;
};
