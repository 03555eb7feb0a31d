// deskhand2-link's document commands: data dump reads what data write wrote, {} writes the file
// of a first start, damaged files dump what was kept, and CSV and PIM go through the document.
#include "tools/document2_command.h"

#include "document2/mvsync_doc.h"
#include "link2/model_profile.h"
#include "link2/progress_view.h"
#include "support/recording_progress.h"
#include "support/recording_ui_services.h"
#include "support/temp_folder.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

using namespace dh2;

class DocumentCommand : public ::testing::Test {
protected:
    DocumentCommand()
    {
        ModelProfile().SetModel(CModelProfile::TypeCorvo);
        qputenv("DESKHAND_PIM_DIR", files.path(QStringLiteral("pim")).toUtf8());
        // The PIM commands keep what they read in the data folder.
        qputenv("DESKHAND_DATA_DIR", files.path().toUtf8());
    }
    ~DocumentCommand() override
    {
        qunsetenv("DESKHAND_PIM_DIR");
        qunsetenv("DESKHAND_DATA_DIR");
    }

    QString path(const char* name) const { return files.path(QLatin1String(name)); }
    void write(const char* name, const QByteArray& bytes) const { ASSERT_TRUE(files.write(QLatin1String(name), bytes)); }
    QByteArray read(const char* name) const { return files.read(QLatin1String(name)); }
    QJsonObject run(const QStringList& args)
    {
        CMVsyncDoc doc;
        return CDocumentCommand(doc).Run(args);
    }

    testsupport::ScopedRecordingUi recording;
    testsupport::ScopedRecordingProgress progress;
    testsupport::TempFolder files;
};

TEST_F(DocumentCommand, DumpReadsWhatWriteWrote)
{
    write("empty.json", "{}");
    ASSERT_TRUE(run({"data", "write", path("empty.json"), path("first.dat")}).value("ok").toBool());
    EXPECT_EQ(read("first.dat").size(), 103);
    CMVsyncDoc fresh;
    ASSERT_TRUE(fresh.SaveLocalData(path("new.dat")));
    EXPECT_EQ(read("first.dat"), read("new.dat"));

    // The features follow the type, under their names or the f0-f7 of earlier dumps.
    write("doc.json", R"({"m_nComPort": 4, "m_nBaudRate": 115200, "profile": {"type": 0, "callerGroups": 1, "f0": 1},
        "groups": [{"m_strName": "Familie"}, {"m_strName": "张"}],
        "m_arPcContacts": [{"m_strName": "Ann", "m_strFax": "0309", "m_nGroup": 1, "m_nState": 2}],
        "m_arPcMemos": [{"m_strSubject": "milk", "m_nKind": 2, "m_dtStart": "2004-03-07T12:00:00"}],
        "m_arMessages": [{"m_strText": "hi", "m_nStatus": 3, "m_nIndex": 5}],
        "m_arOutlookSchedules": [{"m_strSubject": "gone", "m_nState": 3}]})");
    const QJsonObject written = run({"data", "write", path("doc.json"), path("msync.dat")});
    ASSERT_TRUE(written.value("ok").toBool()) << QJsonDocument(written).toJson().constData();
    const QJsonObject dumped = run({"data", "dump", path("msync.dat")});
    ASSERT_TRUE(dumped.value("ok").toBool());
    EXPECT_EQ(dumped.value("m_nComPort").toInt(), 4);
    EXPECT_EQ(dumped.value("m_nBaudRate").toInt(), 115200);
    EXPECT_EQ(dumped.value("profile").toObject().value("type").toInt(), 0);
    EXPECT_EQ(dumped.value("profile").toObject().value("callerGroups").toInt(), 0); // the features follow the type
    EXPECT_EQ(dumped.value("groups").toArray().size(), 8); // two groups load the defaults
    EXPECT_EQ(dumped.value("m_arPcContacts"), written.value("m_arPcContacts"));
    EXPECT_EQ(dumped.value("m_arPcMemos"), written.value("m_arPcMemos"));
    EXPECT_EQ(dumped.value("m_arMessages"), written.value("m_arMessages"));
    EXPECT_TRUE(dumped.value("m_arOutlookSchedules").toArray().isEmpty());

    // What dump prints, write takes back, and the file it writes dumps the same.
    write("dumped.json", QJsonDocument(dumped).toJson());
    ASSERT_TRUE(run({"data", "write", path("dumped.json"), path("again.dat")}).value("ok").toBool());
    EXPECT_EQ(run({"data", "dump", path("again.dat")}), dumped);
}

TEST_F(DocumentCommand, DamagedFilesAndRefusals)
{
    write("empty.json", "{}");
    run({"data", "write", path("empty.json"), path("whole.dat")});
    write("cut.dat", read("whole.dat").left(50));
    const QJsonObject cut = run({"data", "dump", path("cut.dat")});
    EXPECT_FALSE(cut.value("ok").toBool());
    EXPECT_TRUE(cut.value("error").toString().contains(path("cut.dat")));
    EXPECT_EQ(cut.value("groups").toArray().size(), 8);
    EXPECT_TRUE(QFile::exists(path("cut.dat"))); // a dump moves nothing aside

    const struct {
        const char* json;
        const char* error;
    } refused[] = {
        {R"({"m_nBaud": 1})", "m_nBaud: not a member of the document"},
        {R"({"profile": {"type": 1, "callerGroup": 0}})", "profile: unknown member"},
        {R"({"groups": [{"m_strName": 3}]})", "groups: group 0"},
        {R"({"m_arPcContacts": [{"m_strNamee": "x"}]})", "m_arPcContacts: record 0"},
        {R"([])", "expected a JSON object"},
    };
    for (const auto& r : refused) {
        write("bad.json", r.json);
        const QJsonObject output = run({"data", "write", path("bad.json"), path("bad.dat")});
        EXPECT_FALSE(output.value("ok").toBool()) << r.json;
        EXPECT_TRUE(output.value("error").toString().contains(QLatin1String(r.error))) << output.value("error").toString().toStdString();
        EXPECT_FALSE(QFile::exists(path("bad.dat")));
    }
    EXPECT_FALSE(run({"csv", "import", "phones", path("x.csv")}).value("ok").toBool());
    EXPECT_FALSE(run({"pim", "read"}).value("ok").toBool());
}

TEST_F(DocumentCommand, CsvAndPimThroughTheDocument)
{
    write("contacts.json", R"([{"m_strName": "Smith, John", "m_strMobile": "0123", "m_nGroup": 3}])");
    const QJsonObject exported = run({"csv", "export", "contacts", path("contacts.json"), path("out.csv")});
    ASSERT_TRUE(exported.value("ok").toBool());
    EXPECT_EQ(read("out.csv"), QByteArray("Name,Mobile,Office,Home,Fax,Email,Group\r\n\"Smith, John\",\"\"\"0123\"\"\","
                                          "\"\"\"\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",\"\"\"\"\"\",VIP\r\n"));
    const QJsonObject imported = run({"csv", "import", "contacts", path("out.csv")});
    ASSERT_TRUE(imported.value("ok").toBool());
    EXPECT_EQ(imported.value("records").toArray().at(0).toObject().value("m_strName").toString(), QStringLiteral("Smith, John"));

    write("notes.json", R"([{"m_strSubject": "milk", "m_nKind": 2}])");
    const QJsonObject sent = run({"pim", "write", "notes", path("notes.json")});
    ASSERT_TRUE(sent.value("ok").toBool());
    const QJsonObject got = run({"pim", "read", "notes"});
    ASSERT_TRUE(got.value("ok").toBool());
    ASSERT_EQ(got.value("records").toArray().size(), 1);
    EXPECT_EQ(got.value("records").toArray().at(0).toObject().value("m_strSubject").toString(), QStringLiteral("milk"));
}

// "pim read" keeps the values as read in the data folder, so that a later "pim write" changes only
// what was edited in between, even in a card another program has reordered since.
TEST_F(DocumentCommand, PimWriteAfterReadSendsOnlyWhatWasEdited)
{
    const auto card = [](const QByteArray& tels) {
        return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann\r\n" + tels + "END:VCARD\r\n";
    };
    write("pim/contacts/ann.vcf", card("TEL;TYPE=CELL:0170 1\r\nTEL;TYPE=CELL:0170 2\r\nTEL;TYPE=HOME:030 1\r\n"));
    const QJsonObject got = run({"pim", "read", "contacts"});
    ASSERT_TRUE(got.value("ok").toBool());
    EXPECT_FALSE(read("pimbase2.dat").isEmpty());
    // Another program, in between.
    write("pim/contacts/ann.vcf", card("TEL;TYPE=CELL:0170 2\r\nTEL;TYPE=CELL:0170 1\r\nTEL;TYPE=HOME:030 2\r\n"));

    QJsonObject ann = got.value("records").toArray()[0].toObject();
    EXPECT_EQ(ann.value("m_strMobile").toString(), QStringLiteral("0170 1"));
    ann.insert("m_strName", "Ann Lee");
    ann.insert("m_nState", 2);
    write("edited.json", QJsonDocument(QJsonArray {ann}).toJson());
    ASSERT_TRUE(run({"pim", "write", "contacts", path("edited.json")}).value("ok").toBool());
    const QByteArray written = read("pim/contacts/ann.vcf");
    for (const char* text : {"FN:Ann Lee\r\n", "CELL:0170 2\r\n", "CELL:0170 1\r\n", "HOME:030 2\r\n"})
        EXPECT_TRUE(written.contains(text)) << text << "\n" << written.constData();
}

} // namespace
