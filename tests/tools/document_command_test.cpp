#include "tools/document_command.h"

#include "document/mvsync_doc.h"
#include "link/progress_view.h"
#include "platform/archive.h"
#include "support/killed_save.h"
#include "support/recording_progress.h"
#include "support/recording_ui_services.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <sys/stat.h>

#include <limits>

using namespace dh1;

namespace {

class DocumentCommand : public ::testing::Test {
protected:
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QByteArray read(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    mode_t mode(const char* name) const
    {
        struct stat info {};
        return ::stat(QFile::encodeName(path(name)).constData(), &info) == 0 ? info.st_mode & 07777 : mode_t(-1);
    }
    void setMode(const char* name, mode_t mode) const
    {
        ASSERT_EQ(::chmod(QFile::encodeName(path(name)).constData(), mode), 0);
    }
    // Ann's card in the PIM store as another program writes it, with one line more.
    void writeAnnsCard(const QByteArray& line) const
    {
        QDir().mkpath(path("pim/contacts"));
        write("pim/contacts/ann.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:ann\r\nFN:Ann\r\nTEL;TYPE=CELL:0170\r\n" + line
                                          + "\r\nEND:VCARD\r\n");
    }
    // A pim write of these records, the first renamed (as edited here) to name.
    QJsonObject writeRenamed(QJsonArray records, const QString& name)
    {
        QJsonObject first = records[0].toObject();
        first.insert("m_strName", name);
        first.insert("m_nState", 2);
        records[0] = first;
        write("edited.json", QJsonDocument(records).toJson());
        return run({"pim", "write", "contacts", path("edited.json")});
    }
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
    testsupport::ScopedRecordingProgress progress;
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

TEST_F(DocumentCommand, DatesWithoutACalendarDateDumpInAFormThatWritesBack)
{
    // One PC schedule per date as a file may hold it: status, then the automation date.
    const struct {
        qint32 status;
        double value;
    } dates[] = {
        {0, 1e7},                                      // valid status, beyond the year 9999
        {0, -1e9},
        {0, std::numeric_limits<double>::quiet_NaN()},
        {1, 38053.5},                                  // invalid status
        {2, 0.0},                                      // null
        {2, 12.25},
        {0, 2958465.99999999},                         // rounds up into the year 10000
        {0, 38053.5},
    };
    CArchive ar;
    ar << qint32(1) << qint32(100) << qint32(0) << qint32(4) << qint32(20);
    for (int i = 0; i < CMVsyncDoc::kGroupCount; ++i)
        ar << QStringLiteral("g%1").arg(i);
    ar << qint32(0) << qint32(std::size(dates));
    for (const auto& d : dates) {
        CScheduleEntry e;
        e.m_dtStart.m_dt = d.value;
        e.m_dtStart.SetStatus(COleDateTime::DateTimeStatus(d.status));
        e.Serialize(ar);
    }
    ar << qint32(0) << qint32(0) << qint32(0) << qint32(0);
    write("odd.dat", ar.Data());

    const QJsonObject dumped = run({"data", "dump", path("odd.dat")});
    ASSERT_TRUE(dumped.value("ok").toBool());
    QJsonArray starts;
    for (const QJsonValue& schedule : dumped.value("m_pcSchedules").toArray())
        starts.append(schedule.toObject().value("m_dtStart"));
    EXPECT_TRUE(starts.contains(QJsonObject{{"m_status", 0}, {"m_dt", 1e7}}));
    EXPECT_TRUE(starts.contains(QJsonObject{{"m_status", 0}, {"m_dt", "nan"}}));
    EXPECT_TRUE(starts.contains(QStringLiteral("2004-03-07T12:00:00")));
    write("odd.json", QJsonDocument(dumped).toJson());
    const QJsonObject written = run({"data", "write", path("odd.json"), path("again.dat")});
    ASSERT_TRUE(written.value("ok").toBool()) << written.value("error").toString().toStdString();
    QFile again(path("again.dat"));
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    // Sorted by start as every load sorts; the bytes of each date are as they were.
    CMVsyncDoc original;
    ASSERT_TRUE(original.LoadLocalData(path("odd.dat"), nullptr));
    CArchive expected;
    original.Serialize(expected);
    EXPECT_EQ(again.readAll(), expected.Data());
}

TEST_F(DocumentCommand, DumpKeepsACopyOfAFileWithOldSingleByteText)
{
    CArchive ar;
    ar << qint32(1) << qint32(100) << qint32(0) << qint32(4) << qint32(20);
    for (int i = 0; i < CMVsyncDoc::kGroupCount; ++i)
        ar << quint8(4) << quint8('F') << quint8(0xe4) << quint8('m') << quint8('.');
    for (int i = 0; i < 6; ++i)
        ar << qint32(0);
    write("old.dat", ar.Data());
    EXPECT_TRUE(run({"data", "dump", path("old.dat")}).value("ok").toBool());
    EXPECT_TRUE(run({"data", "dump", path("old.dat")}).value("ok").toBool());
    QFile copy(path("old.dat.legacy"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), ar.Data());
    EXPECT_FALSE(QFile::exists(path("old.dat.legacy.2")));
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
    writeAnnsCard("TEL;TYPE=HOME:030 1");
    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    const QJsonObject read = run({"pim", "read", "contacts"});
    ASSERT_TRUE(read.value("ok").toBool());
    writeAnnsCard("TEL;TYPE=HOME:030 2"); // another program, in between
    const QJsonObject written = writeRenamed(read.value("records").toArray(), QStringLiteral("Ann Lee"));
    qunsetenv("DESKHAND_PIM_DIR");
    ASSERT_TRUE(written.value("ok").toBool());
    QFile file(path("pim/contacts/ann.vcf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("FN:Ann Lee\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("TYPE=HOME:030 2")) << bytes.constData();
}

// A read whose values as read cannot be kept (the disk is full) still reads: "ok" with a warning
// that names the file and its reason, and the values from before stay. A later write of a name
// change then leaves alone the e-mail that another program changed in between.
TEST_F(DocumentCommand, APimReadThatCannotKeepItsValuesSaysSoAndKeepsTheOldOnes)
{
    writeAnnsCard("EMAIL:ann@old.org");
    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    ASSERT_TRUE(run({"pim", "read", "contacts"}).value("ok").toBool());
    const QByteArray kept = read("pimbase.dat");
    ASSERT_FALSE(kept.isEmpty());

    QJsonObject again;
    {
        testsupport::ScopedFileSizeLimit full(16);
        again = run({"pim", "read", "contacts"});
    }
    EXPECT_TRUE(again.value("ok").toBool());
    EXPECT_EQ(again.value("warning").toString(),
              QStringLiteral("cannot write %1: %2; the values as read before are kept")
                  .arg(QDir(dir.path()).filePath(QStringLiteral("pimbase.dat")), qt_error_string(EFBIG)));
    EXPECT_EQ(read("pimbase.dat"), kept);

    writeAnnsCard("EMAIL:ann@new.org"); // another program, in between
    const QJsonObject written = writeRenamed(again.value("records").toArray(), QStringLiteral("Ann Lee"));
    qunsetenv("DESKHAND_PIM_DIR");
    ASSERT_TRUE(written.value("ok").toBool());
    EXPECT_FALSE(written.contains("warning"));
    const QByteArray bytes = read("pim/contacts/ann.vcf");
    EXPECT_TRUE(bytes.contains("FN:Ann Lee\r\n")) << bytes.constData();
    EXPECT_TRUE(bytes.contains("EMAIL:ann@new.org\r\n")) << bytes.constData();
}

// A file that is there keeps its permissions when a command replaces it (a card in the PIM store,
// a CSV export, a data file); a file a command makes is the user's alone.
TEST_F(DocumentCommand, FilesThatAreThereKeepTheirPermissions)
{
    writeAnnsCard("NOTE:shared");
    setMode("pim/contacts/ann.vcf", 0644);
    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    const QJsonObject readOutput = run({"pim", "read", "contacts"});
    ASSERT_TRUE(readOutput.value("ok").toBool());
    QJsonArray records = readOutput.value("records").toArray();
    records.append(QJsonObject {{"m_strName", "Bob"}, {"m_nState", 1}});
    const QJsonObject written = writeRenamed(records, QStringLiteral("Ann Lee"));
    qunsetenv("DESKHAND_PIM_DIR");
    ASSERT_TRUE(written.value("ok").toBool());
    const QString bob = written.value("records").toArray()[1].toObject().value("m_strEntryID").toString();
    ASSERT_FALSE(bob.isEmpty());
    QStringList cards = QDir(path("pim/contacts")).entryList(QDir::Files);
    cards.removeOne(QStringLiteral("ann.vcf"));
    ASSERT_EQ(cards.size(), 1);
    const QByteArray bobsCard = QByteArray("pim/contacts/") + QFile::encodeName(cards[0]);

    write("contacts.json", R"([{"m_strName": "Cy", "m_strMobile": "0171"}])");
    write("shared.csv", "old");
    setMode("shared.csv", 0640);
    ASSERT_TRUE(run({"csv", "export", "contacts", path("contacts.json"), path("shared.csv")}).value("ok").toBool());
    ASSERT_TRUE(run({"csv", "export", "contacts", path("contacts.json"), path("new.csv")}).value("ok").toBool());
    write("doc.json", "{}");
    write("shared.dat", "old");
    setMode("shared.dat", 0664);
    ASSERT_TRUE(run({"data", "write", path("doc.json"), path("shared.dat")}).value("ok").toBool());

    const struct {
        QByteArray file;
        mode_t mode;
    } rows[] = {
        {"pim/contacts/ann.vcf", 0644},
        {bobsCard, 0600},
        {"shared.csv", 0640},
        {"new.csv", 0600},
        {"shared.dat", 0664},
        {"pimbase.dat", 0600},
    };
    for (const auto& row : rows)
        EXPECT_EQ(mode(row.file.constData()), row.mode) << row.file.constData();
    EXPECT_TRUE(read("pim/contacts/ann.vcf").contains("FN:Ann Lee\r\n"));
    EXPECT_TRUE(read("shared.csv").contains("Cy"));
}

// What killed saves left goes at the next save into that folder: a CSV export removes what an
// export killed in its midst left beside it, and a PIM read what killed reads left in the data
// folder and in the store.
TEST_F(DocumentCommand, WhatKilledSavesLeftGoesAtTheNextExportOrPimRead)
{
    QByteArray many = "[";
    for (int i = 0; i < 50; ++i)
        many += QByteArray(i ? "," : "") + R"({"m_strName": "Name )" + QByteArray::number(i) + R"(", "m_strMobile": "0170"})";
    write("contacts.json", many + "]");
    QDir().mkpath(path("exports"));
    ASSERT_TRUE(testsupport::RunKilledSave(
        [&] { run({"csv", "export", "contacts", path("contacts.json"), path("exports/list.csv")}); }));
    ASSERT_EQ(testsupport::FolderEntries(path("exports")).size(), 1);
    EXPECT_TRUE(testsupport::FolderEntries(path("exports"))[0].startsWith(QStringLiteral("list.csv.deskhand-save-")));
    ASSERT_TRUE(run({"csv", "export", "contacts", path("contacts.json"), path("exports/other.csv")}).value("ok").toBool());
    EXPECT_EQ(testsupport::FolderEntries(path("exports")), QStringList {QStringLiteral("other.csv")});

    QDir().mkpath(path("pim/contacts"));
    write("pimbase.dat.deskhand-save-Kil1ed", "half a baseline");
    write("pim/contacts/ann.vcf.deskhand-save-Kil1ed", "half a card");
    qputenv("DESKHAND_PIM_DIR", path("pim").toUtf8());
    EXPECT_TRUE(run({"pim", "read", "contacts"}).value("ok").toBool());
    qunsetenv("DESKHAND_PIM_DIR");
    EXPECT_FALSE(QFile::exists(path("pimbase.dat.deskhand-save-Kil1ed")));
    EXPECT_TRUE(testsupport::FolderEntries(path("pim/contacts")).isEmpty());
    EXPECT_TRUE(QFile::exists(path("pimbase.dat")));
}

// A file that cannot be written names itself and its reason; the command line was not at fault.
TEST_F(DocumentCommand, AFileThatCannotBeWrittenNamesItsReason)
{
    write("doc.json", R"({"m_pcMemos": [{"m_strText": "a memo long enough not to fit"}]})");
    write("contacts.json", R"([{"m_strName": "Cy", "m_strMobile": "0171"}])");
    write("x.dat", "old");
    write("x.csv", "old");
    QJsonObject data;
    QJsonObject csv;
    {
        testsupport::ScopedFileSizeLimit full(16);
        data = run({"data", "write", path("doc.json"), path("x.dat")});
        csv = run({"csv", "export", "contacts", path("contacts.json"), path("x.csv")});
    }
    for (const auto& [output, file] : {std::pair {data, path("x.dat")}, std::pair {csv, path("x.csv")}}) {
        EXPECT_FALSE(output.value("ok").toBool());
        EXPECT_EQ(output.value("error").toString(), QStringLiteral("cannot write %1: %2").arg(file, qt_error_string(EFBIG)));
        EXPECT_EQ(output.value("file").toString(), file);
    }
    EXPECT_EQ(read("x.dat"), QByteArray("old"));
    EXPECT_EQ(read("x.csv"), QByteArray("old"));
    EXPECT_EQ(csv.value("records").toArray().size(), 1);
}

} // namespace
