#pragma once

#include "codecs/sourcetable.h"
#include "listmerge.h"
#include "storage/filestamp.h"
#include "tableimport.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariantList>

#include "participantlistmodel.h"

// An import waiting for the operator: the table as read, a meaning per column, and the
// records the rows make with those meanings. Nothing reaches a list before addTo() or
// replaceIn(); cancel() or a failed open leaves every list as it was.
class ListImport : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool ready READ ready NOTIFY tableChanged)
    Q_PROPERTY(QString source READ source NOTIFY tableChanged)
    // Why the last open failed, for the page's notice.
    Q_PROPERTY(QString failure READ failure NOTIFY failureChanged)
    // Per column: its header, or "Столбец N" where it has none.
    Q_PROPERTY(QStringList headers READ headers NOTIFY tableChanged)
    // The first data rows as read, each a list of texts, one per column.
    Q_PROPERTY(QVariantList sample READ sample NOTIFY tableChanged)
    Q_PROPERTY(QStringList meaningNames READ meaningNames CONSTANT)
    // Per column, an index into meaningNames.
    Q_PROPERTY(QVariantList meanings READ meanings NOTIFY resultChanged)
    Q_PROPERTY(int rowCount READ rowCount NOTIFY resultChanged)
    Q_PROPERTY(int gtoCount READ gtoCount NOTIFY resultChanged)
    Q_PROPERTY(int problemCount READ problemCount NOTIFY resultChanged)
    // "Строк: 5 (ГТО: 3, без ГТО: 2), замечаний: 1".
    Q_PROPERTY(QString countsText READ countsText NOTIFY resultChanged)
    // The first problems; a last line tells how many more there are.
    Q_PROPERTY(QStringList problems READ problems NOTIFY resultChanged)
    // A participant list is imported with every key as it is: no meanings to choose.
    Q_PROPERTY(bool isList READ isList NOTIFY tableChanged)
    // The list that records of a participant list are compared with when it opens.
    Q_PROPERTY(ParticipantListModel *list READ list WRITE setList NOTIFY listChanged)
    // Records of a participant list equal in every value to a row of the list, and those
    // that name a participant the list has (the exact ones among them).
    Q_PROPERTY(int exactRepeatCount READ exactRepeatCount NOTIFY tableChanged)
    Q_PROPERTY(int repeatCount READ repeatCount NOTIFY tableChanged)
    // "Добавить к списку" leaves out the exact repeats.
    Q_PROPERTY(bool skipExactRepeats READ skipExactRepeats WRITE setSkipExactRepeats NOTIFY
                   skipExactRepeatsChanged)

public:
    static constexpr int SampleRows = 8;
    static constexpr int ShownProblems = 200;

    explicit ListImport(QObject *parent = nullptr) : QObject(parent) {}

    bool ready() const { return isReady; }
    QString source() const { return sourceName; }
    QString failure() const { return failureText; }
    QStringList headers() const;
    QVariantList sample() const;
    QStringList meaningNames() const { return TableImport::meaningNames(); }
    QVariantList meanings() const;
    int rowCount() const { return result.rowCount; }
    int gtoCount() const { return result.gtoCount; }
    int problemCount() const { return result.problems.size(); }
    QString countsText() const;
    QStringList problems() const;
    bool isList() const { return listMode; }
    ParticipantListModel *list() const { return target; }
    void setList(ParticipantListModel *list);
    int exactRepeatCount() const { return exactRepeats; }
    int repeatCount() const { return repeats; }
    bool skipExactRepeats() const { return skipExact; }
    void setSkipExactRepeats(bool skip);
    // What the participant list file held when it was read: a merge builds on it.
    const FileStamp &sourceStamp() const { return stamp; }
    // The records the rows make with the meanings chosen now.
    std::vector<ParticipantRecord> records() const;

    // A .xlsx, .csv or .txt file, by path or file URL.
    Q_INVOKABLE bool openFile(const QString &path);
    // Tab-separated rows, as a spreadsheet copies them.
    Q_INVOKABLE bool openText(const QString &text);
    Q_INVOKABLE void setMeaning(int column, int meaning);
    // Each takes the records into the model in one step and ends the import.
    Q_INVOKABLE bool addTo(ParticipantListModel *model);
    Q_INVOKABLE bool replaceIn(ParticipantListModel *model);
    Q_INVOKABLE void cancel();

signals:
    void tableChanged();
    void failureChanged();
    void resultChanged();
    void listChanged();
    void skipExactRepeatsChanged();

private:
    bool fail(const QString &reason);
    bool take(SourceTable &&read, const QString &name);
    template <typename Open> bool guarded(Open &&open);
    bool readFile(const QString &path);
    bool takeList(const QByteArray &bytes, const QString &path);
    std::vector<ParticipantRecord> listRecords(bool skipRepeats) const;
    int shownKeys() const;

    bool isReady = false;
    QString sourceName;
    QString failureText;
    SourceTable table;
    TableImport::Columns columns;
    TableImport::Result result;
    bool listMode = false;
    ListMerge::Source listSource;
    std::vector<ListMerge::Match> matches;
    int exactRepeats = 0;
    int repeats = 0;
    bool skipExact = true;
    FileStamp stamp;
    QPointer<ParticipantListModel> target;
};
