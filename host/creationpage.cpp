#include "creationpage.h"

void CreationPage::setGto(bool value)
{
    if (gto == value)
        return;
    gto = value;
    emit entryChanged();
    emit repeatNoticeChanged();
}

void CreationPage::setGtoUuid(const QString &value)
{
    if (gtoUuid == value)
        return;
    gtoUuid = value;
    emit entryChanged();
    emit repeatNoticeChanged();
}

void CreationPage::setPectoralNumber(const QString &value)
{
    if (pectoralNumber == value)
        return;
    pectoralNumber = value;
    emit entryChanged();
    emit repeatNoticeChanged();
}

QString CreationPage::repeatNotice() const
{
    if (!gto || !listModel || listModel->rowCount() == 0)
        return QString();
    QStringList lines;
    const auto add = [this, &lines](const QString &what, const QString &key, const QString &text) {
        const QString rows = listModel->rowsWithText(key, text);
        if (!rows.isEmpty())
            lines << what + QStringLiteral(" уже есть в списке: ") + rows;
    };
    add(QStringLiteral("УИН"), QStringLiteral("gtoUuid"), gtoUuid);
    add(QStringLiteral("нагрудный номер"), QStringLiteral("pectoralNumber"), pectoralNumber);
    QString notice = lines.join(QStringLiteral("; "));
    if (!notice.isEmpty())
        notice[0] = notice[0].toUpper();
    return notice;
}

int CreationPage::write(const QString &path)
{
    const int result = ListPage::write(path);
    if (result == 0)
        writtenFiles.written(path);
    return result;
}
