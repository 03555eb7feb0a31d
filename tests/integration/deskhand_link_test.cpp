// deskhand-link end to end: the real program on a real pseudo-terminal against the simulator
// program, with the real clock.
#ifdef DESKHAND_LINK_BIN

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

class DeskhandLinkTest : public ::testing::Test {
protected:
    ~DeskhandLinkTest() override
    {
        if (simulator.state() != QProcess::NotRunning) {
            simulator.terminate();
            simulator.waitForFinished(5000);
        }
    }

    QString path(const QString& name) const { return dir.filePath(name); }

    void startSimulator(const QString& stateFile)
    {
        simulator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        simulator.start(QStringLiteral(DESKHAND_PHONESIM_BIN),
            {"--dialect", "1", "--link", path("com3"), "--state", stateFile});
        ASSERT_TRUE(simulator.waitForStarted(5000));
        QDeadlineTimer deadline(5000);
        while (!QFileInfo(path("com3")).isSymLink() && !deadline.hasExpired())
            QThread::msleep(10);
        ASSERT_TRUE(QFileInfo(path("com3")).isSymLink());
    }

    struct Run {
        int exitCode = -1;
        QJsonObject output;
        QString errors;
    };

    Run link(const QStringList& args)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESKHAND_COM3"), path("com3"));
        env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
        env.remove(QStringLiteral("LANGUAGE"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(DESKHAND_LINK_BIN), QStringList {"--com", "3"} + args);
        Run run;
        if (!process.waitForFinished(120000)) {
            ADD_FAILURE() << "deskhand-link did not finish";
            process.kill();
            return run;
        }
        run.exitCode = process.exitCode();
        run.errors = QString::fromLocal8Bit(process.readAllStandardError());
        const QJsonDocument document = QJsonDocument::fromJson(process.readAllStandardOutput());
        EXPECT_TRUE(document.isObject()) << run.errors.toStdString();
        run.output = document.object();
        return run;
    }

    static QStringList names(const QJsonObject& output)
    {
        QStringList list;
        for (const QJsonValue& record : output.value(QLatin1String("records")).toArray())
            list << record.toObject().value(QLatin1String("m_strName")).toString();
        return list;
    }

    QTemporaryDir dir;
    QProcess simulator;
};

TEST_F(DeskhandLinkTest, WritesReadsAndDeletesContacts)
{
    startSimulator(path("phone.json")); // no file yet: an empty phone
    QFile contacts(path("contacts.json"));
    ASSERT_TRUE(contacts.open(QIODevice::WriteOnly));
    contacts.write(R"([
        {"m_strName": "Anna Berg", "m_strMobile": "+49 170 1234567", "m_strEmail": "anna@example.org"},
        {"m_strName": "王小明", "m_strMobile": "+86 138 0013 8000", "m_nGroup": 1, "m_strMemo": "two\r\nlines"},
        {"m_strName": "Carla", "m_strHome": "030-123456"}
    ])");
    contacts.close();

    const Run write = link({"write", "handset", path("contacts.json")});
    ASSERT_EQ(write.exitCode, 0) << write.errors.toStdString();
    EXPECT_TRUE(write.output.value(QLatin1String("ok")).toBool());
    EXPECT_EQ(names(write.output), QStringList({"Anna Berg", "王小明", "Carla"}));
    EXPECT_TRUE(write.errors.contains(QLatin1String("[progress] Writing phonebook...")));

    const Run read = link({"read", "handset"});
    ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_EQ(names(read.output), QStringList({"Anna Berg", "王小明", "Carla"}));
    const QJsonArray records = read.output.value(QLatin1String("records")).toArray();
    EXPECT_EQ(records[0].toObject().value(QLatin1String("m_strMobile")).toString(), QStringLiteral("+491701234567"));
    EXPECT_EQ(records[1].toObject().value(QLatin1String("m_strMemo")).toString(), QStringLiteral("two\r\nlines"));
    EXPECT_EQ(records[1].toObject().value(QLatin1String("m_nGroup")).toInt(), 1);
    EXPECT_EQ(records[2].toObject().value(QLatin1String("m_strHome")).toString(), QStringLiteral("030123456"));
    EXPECT_EQ(read.output.value(QLatin1String("groups")).toArray().size(), 7);

    const int second = records[1].toObject().value(QLatin1String("m_nIndex")).toInt();
    const Run remove = link({"delete", "handset", QString::number(second)});
    ASSERT_EQ(remove.exitCode, 0) << remove.errors.toStdString();

    const Run after = link({"read", "handset"});
    EXPECT_EQ(names(after.output), QStringList({"Anna Berg", "Carla"}));
    // The simulator kept every change in its state file.
    QFile state(path("phone.json"));
    ASSERT_TRUE(state.open(QIODevice::ReadOnly));
    const QByteArray saved = state.readAll();
    EXPECT_TRUE(saved.contains("Anna Berg"));
    EXPECT_FALSE(saved.contains("王小明"));
}

TEST_F(DeskhandLinkTest, ReadsTheDemoPhonesBook)
{
    const QString demo = QDir(QStringLiteral(DESKHAND_SOURCE_DIR)).filePath(QStringLiteral("phonesim/examples/demo_phone.json"));
    ASSERT_TRUE(QFile::copy(demo, path("demo.json")));
    QFile::setPermissions(path("demo.json"), QFile::ReadOwner | QFile::WriteOwner);
    startSimulator(path("demo.json"));

    const Run read = link({"read", "handset"});
    ASSERT_EQ(read.exitCode, 0) << read.errors.toStdString();
    EXPECT_EQ(names(read.output), QStringList({"Anna Berg", "Ben Okafor", "王小明", "Carla Ruiz", "Dmitri"}));
    EXPECT_EQ(read.output.value(QLatin1String("result")).toInt(), 1);
    EXPECT_EQ(read.errors.split(u'\n').filter(QStringLiteral("[progress]")),
        QStringList({"[progress] Connecting to mobile", "[progress] Reading phonebook data",
            "[progress] Reading phonebook 0~10", "[progress] Closing connection"}));

    // A failure: exit status 1 and the reason.
    const Run bad = link({"delete", "sim", "0"});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_FALSE(bad.output.value(QLatin1String("ok")).toBool());
    EXPECT_TRUE(bad.errors.contains(QLatin1String("Failed to remove data.")));
}

} // namespace

#endif
