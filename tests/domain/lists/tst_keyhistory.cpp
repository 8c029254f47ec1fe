#include "participantlistmodel.h"

#include <QtTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The model of one editing page lives as long as the program, through every list opened.
class TestKeyHistory : public QObject
{
    Q_OBJECT

private slots:
    void loadCostFollowsTheFileNotTheKeysMetBefore();
};

namespace {

QString manyKeys(int count)
{
    QString text = QStringLiteral("[{");
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("%1\"key%2\":%2").arg(i ? "," : "").arg(i);
    return text + QStringLiteral("}]");
}

// About 2 MB of creation-page records.
QString ordinaryList()
{
    QString text = QStringLiteral("[");
    for (int i = 0; i < 10000; ++i)
        text += QStringLiteral("%1{\"birthDate\":\"07.03.2000\",\"group\":\"Школа 5\","
                               "\"gtoUuid\":\"%2\",\"isGto\":true,\"name\":\"Иванова Мария %2\","
                               "\"organization\":\"Школа 5\",\"sex\":\"Ж\",\"step\":\"6.0\","
                               "\"pectoralNumber\":\"%2\",\"athleticRank\":\"КМС\"}")
                    .arg(i ? "," : "")
                    .arg(i);
    return text + QLatin1Char(']');
}

} // namespace

// In a child under an address space limit, so that a model that keeps a value slot for
// every key ever met fails here instead of taking the machine's memory.
void TestKeyHistory::loadCostFollowsTheFileNotTheKeysMetBefore()
{
    const QString history = manyKeys(20000);
    const QString list = ordinaryList();
    QVERIFY(list.toUtf8().size() > 2000000);

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const rlimit space{rlim_t(2) << 30, rlim_t(2) << 30};
        if (setrlimit(RLIMIT_AS, &space) != 0)
            _exit(10);
        ParticipantListModel model;
        if (!model.load(history) || model.rowCount() != 1)
            _exit(11);
        for (int i = 0; i < 3; ++i) {
            if (!model.load(list) || model.rowCount() != 10000 || model.toJson() != list)
                _exit(12 + i);
        }
        _exit(0);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY2(WIFEXITED(status), "the child died");
    // 11: the list of many keys did not load; 12 and up: an ordinary list failed after it.
    QCOMPARE(WEXITSTATUS(status), 0);
}

QTEST_GUILESS_MAIN(TestKeyHistory)
#include "tst_keyhistory.moc"
