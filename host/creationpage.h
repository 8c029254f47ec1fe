#pragma once

#include "listpage.h"
#include "savetarget.h"

// The creation page: says which of the entry's numbers the list holds already.
class CreationPage : public ListPage
{
    Q_OBJECT
    // The entry as typed, and whether it is a GTO entry, which alone has the numbers.
    Q_PROPERTY(bool gto MEMBER gto WRITE setGto NOTIFY entryChanged)
    Q_PROPERTY(QString gtoUuid MEMBER gtoUuid WRITE setGtoUuid NOTIFY entryChanged)
    Q_PROPERTY(
        QString pectoralNumber MEMBER pectoralNumber WRITE setPectoralNumber NOTIFY entryChanged)
    // "УИН уже есть в списке: запись 3; нагрудный номер уже есть в списке: записи 1, 2";
    // empty while both are new to the list.
    Q_PROPERTY(QString repeatNotice READ repeatNotice NOTIFY repeatNoticeChanged)

public:
    using ListPage::ListPage;

    void setGto(bool value);
    void setGtoUuid(const QString &value);
    void setPectoralNumber(const QString &value);
    QString repeatNotice() const;
    // The question to ask before a save to `path` replaces a file this page did not write
    // in this run; empty when there is nothing to ask.
    Q_INVOKABLE QString replaceQuestion(const QString &path) const
    {
        return writtenFiles.question(path);
    }

signals:
    void entryChanged();
    void repeatNoticeChanged();

protected:
    void listContentChanged() override { emit repeatNoticeChanged(); }
    int write(const QString &path) override;

private:
    bool gto = false;
    QString gtoUuid;
    QString pectoralNumber;
    SaveTarget writtenFiles;
};
