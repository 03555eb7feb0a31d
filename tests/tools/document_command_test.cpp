#include "tools/document_command.h"

#include "document/mvsync_doc.h"
#include "link/progress_view.h"
#include "support/recording_ui_services.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class NullProgress final : public IProgressView {
public:
    void Step(const QString&) override {}
    void Finish() override {}
};

class DocumentCommand : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    void write(const char* name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QJsonObject run(const QStringList& args)
    {
        CMVsyncDoc doc;
        return CDocumentCommand(doc).Run(args);
    }

    testsupport::ScopedRecordingUi recording;
    ScopedProgressViewFactory progress{[] { return std::make_unique<NullProgress>(); }};
    QTemporaryDir dir;
    // The PIM commands keep what they read in the data folder.
    struct DataDir {
        explicit DataDir(const QString& path) { qputenv("DESKHAND_DATA_DIR", path.toUtf8()); }
        ~DataDir() { qunsetenv("DESKHAND_DATA_DIR"); }
    } dataDir{dir.path()};
};

TEST_F(DocumentCommand, DataWriteThenDumpGivesTheSameDocument)
{
    write("doc.json", R"({"m_nComPort": 2, "m_nOpenDelayMs": 300, "m_bIrComm": true, "m_nIrCommPort": 7,
        "m_nIrCommTimeout": 30, "m_groupNames": ["a","b","c","d","e","f","张"],
        "m_pcContacts": [{"m_strName": "Ann", "m_nState": 3, "m_nGroup": 9}],
        "m_pcSchedules": [{"m_strSubject": "S", "m_dtStart": "2004-03-07T09:05:00", "m_nAlarm": 5}],
        "m_outlookMemos": [{"m_strText": "milk", "m_strEntryID": "x"}]})");
    const QJsonObject written = run({"data", "write", path("doc.json"), path("mvsync.dat")});
    ASSERT_TRUE(written.value("ok").toBool()) << QJsonDocument(written).toJson().constData();
    const QJsonObject dumped = run({"data", "dump", path("mvsync.dat")});
    EXPECT_TRUE(dumped.value("ok").toBool());
    EXPECT_EQ(dumped, written);
    EXPECT_EQ(dumped.value("m_nIrCommPort").toInt(), 7);
    EXPECT_EQ(dumped.value("m_pcContacts").toArray()[0].toObject().value("m_nGroup").toInt(), 9);
}

TEST_F(DocumentCommand, RefusalsNameTheirReason)
{
    write("bad.json", R"({"m_groupNames": ["only one"]})");
    EXPECT_TRUE(run({"data", "write", path("bad.json"), path("x.dat")}).value("error").toString().contains("seven"));
    write("unknown.json", R"({"m_nothing": 1})");
    EXPECT_FALSE(run({"data", "write", path("unknown.json"), path("x.dat")}).value("ok").toBool());
    EXPECT_FALSE(QFile::exists(path("x.dat")));
    write("short.dat", QByteArray("\x01\x00", 2));
    const QJsonObject damaged = run({"data", "dump", path("short.dat")});
    EXPECT_FALSE(damaged.value("ok").toBool());
    EXPECT_TRUE(QFile::exists(path("short.dat"))); // a dump never moves the file
    EXPECT_FALSE(run({"csv", "import", "phones", path("a.csv")}).value("ok").toBool());
    EXPECT_FALSE(CDocumentCommand::Handles({"read", "handset"}));
}

TEST_F(DocumentCommand, CsvAndPimRoundTrips)
{
    write("contacts.json", R"([{"m_strName": "Bob, Jr.", "m_strMobile": "0170", "m_nGroup": 1}])");
    ASSERT_TRUE(run({"csv", "export", "contacts", path("contacts.json"), path("out.csv")}).value("ok").toBool());
    const QJsonObject imported = run({"csv", "import", "contacts", path("out.csv")});
    ASSERT_TRUE(imported.value("ok").toBool());
    const QJsonObject contact = imported.value("records").toArray()[0].toObject();
    EXPECT_EQ(contact.value("m_strName").toString(), QStringLiteral("Bob, Jr."));
    EXPECT_EQ(contact.value("m_strMobile").toString(), QStringLiteral("0170"));
    EXPECT_EQ(contact.value("m_nGroup").toInt(), 1);

    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    const QJsonObject sent = run({"pim", "write", "contacts", path("contacts.json")});
    const QJsonObject read = run({"pim", "read", "contacts"});
    qunsetenv("DESKHAND_PIM_DIR");
    ASSERT_TRUE(sent.value("ok").toBool());
    ASSERT_TRUE(read.value("ok").toBool());
    const QString id = sent.value("records").toArray()[0].toObject().value("m_strEntryID").toString();
    EXPECT_FALSE(id.isEmpty());
    EXPECT_EQ(read.value("records").toArray()[0].toObject().value("m_strEntryID").toString(), id);
}

TEST_F(DocumentCommand, PimWriteAfterReadSendsOnlyWhatWasEdited)
{
    QDir().mkpath(path("pim/contacts"));
    const auto card = [](const char* home) {
        return QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann\r\nTEL;TYPE=CELL:0170\r\nTEL;TYPE=HOME:") + home
               + "\r\nEND:VCARD\r\n";
    };
    write("pim/contacts/ann.vcf", card("030 1"));
    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    const QJsonObject read = run({"pim", "read", "contacts"});
    ASSERT_TRUE(read.value("ok").toBool());
    write("pim/contacts/ann.vcf", card("030 2")); // another program, in between

    QJsonObject ann = read.value("records").toArray()[0].toObject();
    ann.insert("m_strName", "Ann Lee");
    ann.insert("m_nState", 2);
    write("edited.json", QJsonDocument(QJsonArray{ann}).toJson());
    const QJsonObject written = run({"pim", "write", "contacts", path("edited.json")});
    qunsetenv("DESKHAND_PIM_DIR");
    ASSERT_TRUE(written.value("ok").toBool());
    QFile file(path("pim/contacts/ann.vcf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("FN:Ann Lee\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("TYPE=HOME:030 2")) << bytes.constData();
}

} // namespace
