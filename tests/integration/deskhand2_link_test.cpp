// deskhand2-link end to end: the real program on a real pseudo-terminal against the simulator
// program of the second family, with the real clock.
#ifdef DESKHAND2_LINK_BIN

#include "link_tool_fixture.h"

namespace {

class Deskhand2LinkTest : public LinkToolTest {
protected:
    Deskhand2LinkTest() : LinkToolTest(QStringLiteral(DESKHAND2_LINK_BIN), {"--dialect", "2"}) {}

    // The demo phone of a model, as the simulator's state file.
    QString demoPhone(int model)
    {
        const QString copy = path(QStringLiteral("phone%1.json").arg(model));
        QFile::copy(QStringLiteral(DESKHAND_SOURCE_DIR "/phonesim/examples/demo_phone2_model%1.json").arg(model), copy);
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        return copy;
    }

    static QStringList demoNames(const QString& stateFile)
    {
        QFile file(stateFile);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        QStringList list;
        for (const QJsonValue& entry : QJsonDocument::fromJson(file.readAll()).object()["handset"].toObject()["entries"].toArray())
            list << entry.toObject().value(QLatin1String("name")).toString();
        return list;
    }

    void stopSimulator()
    {
        simulator.terminate();
        simulator.waitForFinished(5000);
    }
};

// Each model's book comes out as the simulator holds it, with the model the phone named.
TEST_F(Deskhand2LinkTest, ReadsEachModelsBook)
{
    for (const int model : {1, 2, 3}) {
        const QString state = demoPhone(model);
        startSimulator(state, {"--model", QString::number(model)});
        const Run run = link({"read", "handset"});
        EXPECT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_TRUE(run.output.value(QLatin1String("ok")).toBool());
        EXPECT_EQ(names(run.output), demoNames(state)) << model;
        EXPECT_EQ(run.output["profile"].toObject()["type"].toInt(), model);
        EXPECT_EQ(run.output["groups"].toArray().size(), model == 1 ? 0 : 8); // model 1 has no groups
        stopSimulator();
    }
}

TEST_F(Deskhand2LinkTest, WritesReadsAndDeletesInOneModel)
{
    const QString state = demoPhone(3);
    startSimulator(state, {"--model", "3"});

    const QString contacts = file(QStringLiteral("contacts.json"), R"([
        {"m_nIndex": 150, "m_strName": "Zhang San", "m_strMobile": "+8613800P1", "m_nGroup": 1},
        {"m_nIndex": 151, "m_strName": "Lee", "m_strHome": "0301", "m_strFax": "0302"}
    ])");
    const Run write = link({"write", "handset", contacts});
    EXPECT_EQ(write.exitCode, 0) << write.errors.toStdString();
    EXPECT_EQ(names(write.output), QStringList({"Zhang San", "Lee"}));

    const Run read = link({"read", "handset"});
    EXPECT_EQ(read.output["profile"].toObject(),
        QJsonObject({{"type", 3}, {"f0", 1}, {"f1", 0}, {"f2", 0}, {"f3", 0}, {"f4", 1}, {"f5", 0}, {"f6", 1}, {"f7", 0}}));
    EXPECT_TRUE(names(read.output).contains(QStringLiteral("Zhang San")));
    for (const QJsonValue& record : read.output["records"].toArray()) {
        if (record["m_nIndex"].toInt() == 150) {
            EXPECT_EQ(record["m_strMobile"].toString(), QStringLiteral("+8613800P1"));
            EXPECT_EQ(record["m_nGroup"].toInt(), 1);
        } else if (record["m_nIndex"].toInt() == 151) {
            EXPECT_EQ(record["m_strFax"].toString(), QStringLiteral("0302"));
        }
    }

    EXPECT_EQ(link({"delete", "handset", "150", "151"}).exitCode, 0);
    EXPECT_EQ(demoNames(state), demoNames(QStringLiteral(DESKHAND_SOURCE_DIR "/phonesim/examples/demo_phone2_model3.json")));

    // The schedule list read and written back whole.
    const Run schedules = link({"read", "schedules"});
    EXPECT_EQ(schedules.exitCode, 0);
    const QString list = file(QStringLiteral("schedules.json"), QJsonDocument(schedules.output).toJson());
    const Run written = link({"write", "schedules", list});
    EXPECT_EQ(written.exitCode, 0) << written.errors.toStdString();
    EXPECT_EQ(names(written.output, "m_strSubject"), names(schedules.output, "m_strSubject"));
    EXPECT_EQ(logged().count("AT+SSCW"), 1);
}

// Messages: the PDU listing with its enhanced message and its re-read part, a text stored,
// listed in text mode and deleted; a PDU decoded without a phone.
TEST_F(Deskhand2LinkTest, ListsStoresAndDeletesMessages)
{
    const QString state = demoPhone(2);
    startSimulator(state, {"--model", "2"});

    const Run listed = link({"read", "messages"});
    EXPECT_EQ(listed.exitCode, 0) << listed.errors.toStdString();
    EXPECT_EQ(names(listed.output, "m_strText"), QStringList({"See you at 8?", "周五见", "Call me back", "[EMS]", "Hi!"}));
    EXPECT_EQ(logged().count("AT+CMGR=4"), 1); // the part of a longer text, read again

    const Run stored = link({"store-message", "Back at 9\r\nBye"});
    EXPECT_EQ(stored.exitCode, 0) << stored.errors.toStdString();
    const int index = stored.output["records"].toArray().at(0)["m_nIndex"].toInt();
    EXPECT_GT(index, 0);

    const Run texts = link({"read", "messages-text"}); // the SIM, where the text went
    EXPECT_EQ(texts.exitCode, 0) << texts.errors.toStdString();
    EXPECT_TRUE(names(texts.output, "m_strText").contains(QStringLiteral("Back at 9\r\nBye")))
        << names(texts.output, "m_strText").join(u'|').toStdString();

    EXPECT_EQ(link({"delete-message", QString::number(index)}).exitCode, 0);
    QFile saved(state);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    for (const QJsonValue& entry : QJsonDocument::fromJson(saved.readAll())["messages"]["sim"]["entries"].toArray())
        EXPECT_NE(entry["index"].toInt(), index);

    const Run decoded = link({"decode-pdu", "00440b916407281553f80000403070905003400b040b02020520cb6cf61b"});
    EXPECT_EQ(decoded.exitCode, 0);
    EXPECT_EQ(decoded.output["record"].toObject()["m_strText"].toString(), QStringLiteral("[EMS]"));
    EXPECT_EQ(decoded.output["elements"].toArray().at(1).toObject(), QJsonObject({{"type", "sound"}}));
    EXPECT_EQ(link({"decode-pdu", "0002"}).exitCode, 1);
}

TEST_F(Deskhand2LinkTest, RefusalsAreClearAndFail)
{
    Run run = link({"frob"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QLatin1String("cannot understand \"frob\"")));

    run = link({"write", "handset", file(QStringLiteral("bad.json"), R"([{"m_strName": 5}])")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.output["error"].toString().contains(QLatin1String("m_strName"))) << run.errors.toStdString();

    run = link({"identify"}); // nothing at COM 3
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.errors.contains(QLatin1String("Cannot open COM 3 port")));
    EXPECT_TRUE(run.output["error"].toString().startsWith(QLatin1String("cannot use COM 3")));
}

} // namespace

#endif
