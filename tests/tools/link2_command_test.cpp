// deskhand2-link's phone commands on the in-process simulated phone: what an operation that ran
// reports when it fails, and the reasons of what is refused before the phone is touched.
#include "tools/link2_command.h"

#include "link2/session_fixture.h"
#include "phonesim/fault.h"
#include "support/temp_folder.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

using namespace dh2;
using phonesim::Fault;

class Link2CommandTest : public link2test::SessionTest {
protected:
    QJsonObject run(const QStringList& args) { return CLinkCommand(session).Run(args); }

    QString file(const QByteArray& content)
    {
        const QString name = QStringLiteral("records%1.json").arg(++m_files);
        EXPECT_TRUE(dir.write(name, content));
        return dir.path(name);
    }

    void putHandset(int index, const QString& name)
    {
        phonesim::HandsetEntry2 entry;
        entry.name = name;
        entry.numbers[0].number = QStringLiteral("1");
        phoneState().handset.entries[index] = entry;
    }

    testsupport::TempFolder dir;

private:
    int m_files = 0;
};

// The line is lost after the phone carried out the first delete: the result says what ended the
// operation and which index is gone; the port had opened, so it is no port failure. A write lost
// at its second record lists the first as written and the second as perhaps written.
TEST_F(Link2CommandTest, ALostLineReportsWhatTheOperationDid)
{
    putHandset(1, QStringLiteral("Ann"));
    putHandset(2, QStringLiteral("Bob"));
    phone.injectFault("AT+CPBW=2", Fault::closeLine());
    QJsonObject output = run({"delete", "handset", "1", "2"});
    EXPECT_FALSE(output["ok"].toBool());
    EXPECT_EQ(output["deleted"].toArray(), QJsonArray {1});
    EXPECT_EQ(output["result"].toInt(), AT_READ_FAILED);
    EXPECT_EQ(output["unconfirmed"].toArray(), QJsonArray {2});
    EXPECT_EQ(output["error"].toString(), QStringLiteral("reading from the line failed"));
    EXPECT_EQ(phoneState().handset.entries.count(1), 0u);

    phone.clearFaults();
    phone.injectFault("AT+CPBW=151*", Fault::closeLine());
    output = run({"write", "handset", file(R"([{"m_nIndex": 150, "m_strName": "Cy", "m_strMobile": "3"},
                                                {"m_nIndex": 151, "m_strName": "Di", "m_strMobile": "4"}])")});
    EXPECT_FALSE(output["ok"].toBool());
    ASSERT_EQ(output["records"].toArray().size(), 1);
    EXPECT_EQ(output["records"][0]["m_strName"].toString(), QStringLiteral("Cy"));
    ASSERT_EQ(output["unconfirmed"].toArray().size(), 1);
    EXPECT_EQ(output["unconfirmed"][0]["m_nIndex"].toInt(), 151);
    EXPECT_FALSE(output["error"].toString().startsWith(QLatin1String("cannot use")));

    // A phone that refused the command did not carry it out.
    phone.clearFaults();
    phone.injectFault("AT+CPBW=2", Fault::error());
    output = run({"delete", "handset", "2"});
    EXPECT_EQ(output["deleted"].toArray(), QJsonArray());
    EXPECT_FALSE(output.contains(QLatin1String("unconfirmed")));
    EXPECT_EQ(output["error"].toString(), QStringLiteral("the phone answered ERROR"));
}

// Every refusal names its reason, and nothing reaches the phone.
TEST_F(Link2CommandTest, RefusalsNameTheirReason)
{
    QByteArray tooMany = "[";
    for (int i = 0; i < 21; ++i)
        tooMany += QByteArray(i ? "," : "") + R"({"m_nIndex": )" + QByteArray::number(i) + "}";
    tooMany += "]";
    const QString schedules = file(tooMany);
    const QString noIndex = file(R"([{"m_strName": "Ann", "m_strMobile": "1"}])");
    const struct {
        QStringList args;
        QString error;
    } cases[] = {
        {{"delete", "handset", "3", "-1"}, QStringLiteral("index -1 is below 0")},
        {{"delete", "sim", "x"}, QStringLiteral("\"x\" is not an index")},
        {{"send-stored", "-2", "123"}, QStringLiteral("index -2 is below 0")},
        {{"delete-message", "-3"}, QStringLiteral("index -3 is below 0")},
        {{"write", "schedules", schedules}, schedules + QStringLiteral(": 21 entries; the phone's list holds at most 20")},
        {{"write", "handset", noIndex}, noIndex + QStringLiteral(": record 0: m_nIndex -1 is below 0")},
        {{"write", "sim", noIndex}, noIndex + QStringLiteral(": record 0: m_nSimIndex -1 is below 0")},
    };
    for (const auto& c : cases) {
        const QJsonObject output = run(c.args);
        EXPECT_FALSE(output["ok"].toBool()) << c.args.join(u' ').toStdString();
        EXPECT_EQ(output["error"].toString(), c.error);
    }
    EXPECT_TRUE(commands().isEmpty());

    // What the book has no place for is refused once the phone told its size.
    QJsonObject output = run({"delete", "handset", "0"});
    EXPECT_EQ(output["error"].toString(), QStringLiteral("index 0 is outside the handset book (1-200)"));
    output = run({"write", "handset", file(R"([{"m_nIndex": 201, "m_strName": "Ann", "m_strMobile": "1"}])")});
    EXPECT_EQ(output["error"].toString(), QStringLiteral("record 0: index 201 is outside the handset book (1-200)"));
    EXPECT_TRUE(commands("AT+CPBW").isEmpty());
}

} // namespace
