// "msync.dat": the first-start file byte for byte, round trips, the load rules, and files cut
// short, with false counts, unreadable or in a folder that takes nothing.
#include "document2/mvsync_doc.h"

#include "link2/model_profile.h"
#include "platform/archive.h"
#include "platform/clock.h"
#include "platform/string_table.h"
#include "support/archive_bytes.h"
#include "support/killed_save.h"
#include "support/recording_ui_services.h"
#include "support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

using namespace dh2;

using testsupport::ArchiveBytes;

QByteArray groups(std::initializer_list<const char*> names)
{
    QByteArray bytes = ArchiveBytes(qint32(names.size()));
    for (const char* name : names)
        bytes += ArchiveBytes(name);
    return bytes;
}

const std::initializer_list<const char*> kDefaultGroups = {"Family", "Friends", "Colleague", "VIP",
                                                          "Group1", "Group2", "Others",  "No group"};

// What a first start writes at close: COM 1, 19200 baud, model 2, the eight default groups and
// seven empty lists.
QByteArray firstStartFile()
{
    QByteArray f = ArchiveBytes(1) + ArchiveBytes(19200) + ArchiveBytes(2) + groups(kDefaultGroups);
    for (int list = 0; list < 7; ++list)
        f += ArchiveBytes(0);
    return f;
}

class LocalData : public ::testing::Test {
protected:
    LocalData() { ModelProfile().SetModel(CModelProfile::TypeCorvo); }

    QString path(const char* name) const { return files.path(QLatin1String(name)); }
    void writeFile(const char* name, const QByteArray& bytes) const { ASSERT_TRUE(files.write(QLatin1String(name), bytes)); }
    QByteArray readFile(const char* name) const { return files.read(QLatin1String(name)); }

    std::unique_ptr<CMVsyncDoc> openDocument()
    {
        auto doc = std::make_unique<CMVsyncDoc>();
        doc->SetDataDir(files.path());
        doc->OnNewDocument();
        return doc;
    }

    // A document with a record in every stored list, and the records' texts that tell them apart.
    static void fill(CMVsyncDoc& doc)
    {
        auto contact = std::make_unique<CPhoneEntry>();
        contact->m_strName = QStringLiteral("张三 Müller");
        contact->m_strFax = QString(255, u'f');
        contact->m_strEmail = QString(300, u'e');
        contact->m_nGroup = 3;
        contact->m_nSimIndex = 4;
        contact->m_nState = CSyncRecord::StateChanged;
        doc.m_arPcContacts.push_back(std::move(contact));
        auto schedule = std::make_unique<CScheduleEntry>();
        schedule->m_strSubject = QStringLiteral("no date");
        schedule->m_dtStart.SetStatus(COleDateTime::invalid);
        schedule->m_nRepeat = 4;
        schedule->m_nAlarm = 5;
        doc.m_arPcSchedules.push_back(std::move(schedule));
        auto memo = std::make_unique<CScheduleEntry>();
        memo->m_strSubject = QStringLiteral("memo\r\nline two");
        memo->m_nKind = CScheduleEntry::KindMemo;
        memo->m_nState = CSyncRecord::StateNew;
        doc.m_arPcMemos.push_back(std::move(memo));
        auto message = std::make_unique<CSmsEntry>();
        message->m_strText = QStringLiteral("hi");
        message->m_strDate = QStringLiteral("4/3/7");
        message->m_nIndex = 2;
        doc.m_arMessages.push_back(std::move(message));
        auto pimContact = std::make_unique<CPhoneEntry>();
        pimContact->m_strName = QStringLiteral("Bob");
        pimContact->m_strEntryID = QStringLiteral("uid-1");
        doc.m_arOutlookContacts.push_back(std::move(pimContact));
        auto pimSchedule = std::make_unique<CScheduleEntry>();
        pimSchedule->m_strSubject = QStringLiteral("gone");
        pimSchedule->m_nState = CSyncRecord::StateDeleted;
        doc.m_arOutlookSchedules.push_back(std::move(pimSchedule));
        auto pimMemo = std::make_unique<CScheduleEntry>();
        pimMemo->m_strSubject = QStringLiteral("note");
        pimMemo->m_nKind = CScheduleEntry::KindMemo;
        doc.m_arOutlookMemos.push_back(std::move(pimMemo));
    }

    static int recordCount(const CMVsyncDoc& doc)
    {
        return int(doc.m_arPcContacts.size() + doc.m_arPcSchedules.size() + doc.m_arPcMemos.size()
                   + doc.m_arMessages.size() + doc.m_arOutlookContacts.size() + doc.m_arOutlookSchedules.size()
                   + doc.m_arOutlookMemos.size());
    }

    platform::ScopedLanguage english {platform::LANG_ENGLISH_US};
    platform::VirtualClock clock;
    platform::ScopedClock clockGuard {clock};
    testsupport::ScopedRecordingUi recording;
    testsupport::TempFolder files;
};

TEST_F(LocalData, AFirstStartWritesThe103ByteFile)
{
    auto doc = openDocument();
    EXPECT_GE(clock.nowMs() - 1'000'000, 1000); // the splash's second
    EXPECT_EQ(doc->m_nComPort, 1);
    EXPECT_EQ(doc->m_nBaudRate, 19200);
    EXPECT_EQ(g_arrGroups.size(), 8u);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("Zentra Deskhand - Model Corvo"));
    doc->OnCloseDocument();
    const QByteArray file = readFile("msync.dat");
    EXPECT_EQ(file.size(), 103);
    EXPECT_EQ(file, firstStartFile());
    EXPECT_EQ(QFile::permissions(path("msync.dat")) & (QFile::ReadOther | QFile::ReadGroup), QFile::Permissions());
    EXPECT_TRUE(recording.ui.boxes.empty());
}

TEST_F(LocalData, EveryStoredListRoundTripsAndDeletedRecordsGoAtTheNextLoad)
{
    {
        CMVsyncDoc doc;
        doc.m_nComPort = 3;
        doc.m_nBaudRate = 115200;
        ModelProfile().SetModel(CModelProfile::TypeSarno);
        fill(doc);
        g_arrGroups[2].m_strName = QStringLiteral("Kollegen");
        g_arrGroups[2].m_nMembers = 5;
        ASSERT_TRUE(doc.SaveLocalData(path("msync.dat")));
    }
    ModelProfile().SetModel(CModelProfile::TypeCorvo);
    CMVsyncDoc doc;
    QSignalSpy titles(&doc, &CMVsyncDoc::titleChanged);
    QString error;
    ASSERT_TRUE(doc.LoadLocalData(path("msync.dat"), &error)) << error.toStdString();
    EXPECT_EQ(doc.m_nComPort, 3);
    EXPECT_EQ(doc.m_session.m_port.m_nPort, 3);
    EXPECT_EQ(doc.m_nBaudRate, 115200);
    EXPECT_EQ(doc.m_session.m_port.m_nBaud, 115200);
    EXPECT_EQ(ModelProfile().GetModel(), CModelProfile::TypeSarno);
    EXPECT_EQ(titles.takeLast().at(0).toString(), QStringLiteral("Zentra Deskhand - Model Sarno"));
    EXPECT_EQ(GetGroupName(2), QStringLiteral("Kollegen"));
    EXPECT_EQ(g_arrGroups[2].m_nMembers, 0); // until a phonebook read

    ASSERT_EQ(doc.m_arPcContacts.size(), 1u);
    const CPhoneEntry& c = *doc.m_arPcContacts[0];
    EXPECT_EQ(c.m_strName, QStringLiteral("张三 Müller"));
    EXPECT_EQ(c.m_strFax, QString(255, u'f'));
    EXPECT_EQ(c.m_strEmail, QString(300, u'e'));
    EXPECT_EQ(c.m_nGroup, 3);
    EXPECT_EQ(c.m_nSimIndex, 4);
    EXPECT_EQ(c.m_nState, CSyncRecord::StateChanged);
    ASSERT_EQ(doc.m_arPcSchedules.size(), 1u);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_dtStart.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(doc.m_arPcSchedules[0]->m_nAlarm, 5);
    ASSERT_EQ(doc.m_arPcMemos.size(), 1u);
    EXPECT_EQ(doc.m_arPcMemos[0]->m_strSubject, QStringLiteral("memo\r\nline two"));
    EXPECT_EQ(doc.m_arPcMemos[0]->m_nState, CSyncRecord::StateNew);
    ASSERT_EQ(doc.m_arMessages.size(), 1u);
    EXPECT_EQ(doc.m_arMessages[0]->m_strDate, QStringLiteral("4/3/7"));
    EXPECT_EQ(doc.m_arOutlookContacts[0]->m_strEntryID, QStringLiteral("uid-1"));
    EXPECT_TRUE(doc.m_arOutlookSchedules.empty()); // saved marked deleted, dropped at load
    EXPECT_EQ(doc.m_arOutlookMemos[0]->m_nKind, CScheduleEntry::KindMemo);

    // What was loaded saves back to the same bytes but for the dropped record.
    ASSERT_TRUE(doc.SaveLocalData(path("again.dat")));
    CMVsyncDoc again;
    ASSERT_TRUE(again.LoadLocalData(path("again.dat"), &error));
    ASSERT_TRUE(again.SaveLocalData(path("third.dat")));
    EXPECT_EQ(readFile("third.dat"), readFile("again.dat"));
}

// Files written with seven groups or fewer hold no table of the phone's: the defaults stand. The
// model type sets the flags as the profile does, before any phone is connected.
TEST_F(LocalData, GroupTablesAndModelsAsLoaded)
{
    const QByteArray lists = ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0);
    const struct {
        QByteArray groups;
        int model;
        size_t size;
        const char* third;
    } cases[] = {
        {groups({"A", "B", "C", "D", "E", "F", "G"}), 2, 8, "Colleague"},
        {groups({}), 0, 8, "Colleague"},
        {groups({"A", "B", "C", "D", "E", "F", "G", "H", "I"}), 4, 9, "C"},
        {groups({"A", "B", "C", "D", "E", "F", "G", "H"}), 7, 8, "C"},
    };
    for (const auto& c : cases) {
        writeFile("msync.dat", ArchiveBytes(2) + ArchiveBytes(19200) + ArchiveBytes(c.model) + c.groups + lists);
        CMVsyncDoc doc;
        ASSERT_TRUE(doc.LoadLocalData(path("msync.dat"), nullptr)) << c.model;
        EXPECT_EQ(g_arrGroups.size(), c.size);
        EXPECT_EQ(GetGroupName(2), QLatin1String(c.third));
        EXPECT_EQ(ModelProfile().GetModel(), c.model);
        EXPECT_EQ(ModelProfile().Features(), CModelProfile::FlagsOf(c.model));
    }
    EXPECT_EQ(CModelProfile::FlagsOf(2), (ModelFeatures {true, false, false, true, false, true, false}));
}

// Cut at every offset, the file never loads as whole, and every record read whole is kept.
TEST_F(LocalData, ACutFileKeepsWhatWasReadWhole)
{
    CMVsyncDoc full;
    fill(full);
    for (const auto& contact : full.m_arPcContacts)
        contact->m_strFax = contact->m_strEmail = QStringLiteral("x");
    ASSERT_TRUE(full.SaveLocalData(path("msync.dat")));
    const QByteArray whole = readFile("msync.dat");
    int kept = -1;
    for (qsizetype cut = 0; cut < whole.size(); ++cut) {
        writeFile("cut.dat", whole.left(cut));
        CMVsyncDoc doc;
        QString error;
        ASSERT_FALSE(doc.LoadLocalData(path("cut.dat"), &error)) << cut;
        EXPECT_FALSE(error.isEmpty());
        // Records come back one by one as the cut moves on, never more than the file holds.
        const int count = recordCount(doc);
        EXPECT_GE(count, kept) << cut;
        kept = count;
        if (cut < 12) {
            EXPECT_EQ(doc.m_nBaudRate, 19200) << cut;
            EXPECT_EQ(g_arrGroups.size(), 8u) << cut;
        }
    }
    CMVsyncDoc doc;
    ASSERT_TRUE(doc.LoadLocalData(path("msync.dat"), nullptr));
    EXPECT_EQ(kept, recordCount(doc) - 1); // the last record is read whole only at the end
}

TEST_F(LocalData, FalseCountsEndWithTheData)
{
    const QByteArray settings = ArchiveBytes(1) + ArchiveBytes(19200) + ArchiveBytes(3);
    const QByteArray contact = ArchiveBytes(-1) + ArchiveBytes("") + ArchiveBytes(0) + ArchiveBytes(1) + ArchiveBytes("Ann") + ArchiveBytes("") + ArchiveBytes("") + ArchiveBytes("") + ArchiveBytes("")
                               + ArchiveBytes("") + ArchiveBytes(7) + ArchiveBytes(-1);
    const QByteArray files[] = {
        settings + ArchiveBytes(0x7fffffff) + ArchiveBytes("Family"),
        settings + ArchiveBytes(-1),
        settings + groups(kDefaultGroups) + ArchiveBytes(0x7fffffff) + contact,
        settings + groups(kDefaultGroups) + ArchiveBytes(-5),
        settings + groups(kDefaultGroups) + ArchiveBytes(1) + contact + ArchiveBytes(0) + ArchiveBytes(0) + ArchiveBytes(0x40000000),
        settings + groups(kDefaultGroups) + ArchiveBytes(1) + ArchiveBytes(-1) + QByteArray("\xff\xff\xff\xff\xff\xff", 6),
    };
    for (const QByteArray& bytes : files) {
        writeFile("msync.dat", bytes);
        CMVsyncDoc doc;
        EXPECT_FALSE(doc.LoadLocalData(path("msync.dat"), nullptr));
        EXPECT_LE(doc.m_arPcContacts.size(), 1u);
        EXPECT_EQ(g_arrGroups.size(), 8u);
        EXPECT_EQ(ModelProfile().GetModel(), 3);
    }
}

// At start-up a damaged file is kept as far as it goes, moved aside before anything could save
// over it, and the user is told once; the next save writes a whole file.
TEST_F(LocalData, ADamagedFileIsMovedAsideAndTheUserToldOnce)
{
    const QByteArray damaged = firstStartFile().left(60);
    writeFile("msync.dat.damaged", "an earlier one");
    writeFile("msync.dat", damaged);
    auto doc = openDocument();
    EXPECT_EQ(readFile("msync.dat.damaged"), QByteArray("an earlier one"));
    EXPECT_EQ(readFile("msync.dat.damaged.2"), damaged);
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {platform::LoadString(64302).arg(path("msync.dat.damaged.2"))});
    EXPECT_FALSE(QFile::exists(path("msync.dat")));
    EXPECT_EQ(g_arrGroups.size(), 8u);
    doc->OnCloseDocument();
    EXPECT_EQ(readFile("msync.dat"), firstStartFile());
    EXPECT_EQ(recording.ui.boxes.size(), 1u);
}

// File Save says whether the file was written; a file that could not be read is never saved
// over, and a folder that takes nothing keeps the old file.
TEST_F(LocalData, SaveReportsWhatHappened)
{
    auto doc = openDocument();
    doc->OnFileSave();
    EXPECT_EQ(recording.ui.boxTexts(), QStringList {QStringLiteral("Success to save.")});
    EXPECT_EQ(recording.ui.boxes.back().style, unsigned(platform::MB_ICONINFORMATION));

    writeFile("plain", "x");
    CMVsyncDoc nowhere;
    nowhere.SetDataDir(path("plain/sub"));
    nowhere.OnFileSave();
    EXPECT_EQ(recording.ui.boxTexts().last(),
              QStringLiteral("Failed to save \"%1\" (%3), \"%2\" (%3). The previous copy was kept.")
                  .arg(path("plain/sub/pimbase2.dat"), path("plain/sub/msync.dat"), qt_error_string(ENOTDIR)));

    // A folder in the place of the file cannot be read: defaults, no box, and never saved over.
    QDir(files.path()).mkpath(QStringLiteral("unreadable/msync.dat"));
    CMVsyncDoc blocked;
    blocked.SetDataDir(path("unreadable"));
    const size_t boxes = recording.ui.boxes.size();
    blocked.OnNewDocument();
    EXPECT_EQ(recording.ui.boxes.size(), boxes);
    EXPECT_FALSE(blocked.SaveLocalData());
    EXPECT_TRUE(QFileInfo(path("unreadable/msync.dat")).isDir());
    {
        platform::ScopedLanguage chinese {platform::LANG_CHINESE_SIMPLIFIED};
        blocked.OnFileSave();
        // Named with the reason it was kept, in the language of the box.
        const QString kept = QStringLiteral("\"%1\" (%2)").arg(path("unreadable/msync.dat"), platform::LoadString(64305));
        EXPECT_EQ(recording.ui.boxTexts().last(), platform::LoadString(64301).arg(kept));
        EXPECT_TRUE(recording.ui.boxTexts().last().startsWith(QStringLiteral("保存 ")));
        EXPECT_TRUE(recording.ui.boxTexts().last().contains(QStringLiteral("保留启动时的原样")));
    }
}

// A save replaces the name itself: a link planted at "msync.dat" never makes it write the file
// the link points to. What a killed save left goes at the next save.
TEST_F(LocalData, SavesReplaceLinksAndRemoveWhatAKilledSaveLeft)
{
    QDir(files.path()).mkdir(QStringLiteral("other"));
    writeFile("other/theirs", "someone else's");
    ASSERT_TRUE(QFile::link(path("other/theirs"), path("msync.dat")));
    auto doc = openDocument();
    fill(*doc);
    EXPECT_TRUE(doc->SaveLocalData());
    EXPECT_FALSE(QFileInfo(path("msync.dat")).isSymLink());
    EXPECT_EQ(readFile("other/theirs"), QByteArray("someone else's"));

    const QStringList before = testsupport::FolderEntries(files.path());
    ASSERT_TRUE(testsupport::RunKilledSave([&] { doc->SaveLocalData(); }));
    EXPECT_EQ(testsupport::FolderEntries(files.path()).size(), before.size() + 1);
    EXPECT_TRUE(doc->SaveLocalData());
    EXPECT_EQ(testsupport::FolderEntries(files.path()), before);
}

} // namespace
