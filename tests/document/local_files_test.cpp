#include "document/mvsync_doc.h"

#include "link/globals.h"
#include "platform/archive.h"
#include "platform/string_table.h"
#include "support/as_unprivileged.h"
#include "support/killed_save.h"
#include "support/recording_ui_services.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

#include <functional>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace dh1;

namespace {

QByteArray str(const char* text)
{
    return QByteArray(1, char(qstrlen(text))) + QByteArray(text);
}

QByteArray i32(qint32 v)
{
    CArchive ar;
    ar << v;
    return ar.Data();
}

// A data file laid out field by field: settings, seven names, six counted lists.
QByteArray goldenFile()
{
    QByteArray f;
    f += i32(3) + i32(250) + i32(1) + i32(7) + i32(30);
    for (const char* name : {"Family", "VIP", "Friends", "Colleague", "Group1", "Group2", "Others"})
        f += str(name);
    // PC contacts: one, in state 3 (PC lists keep deleted records).
    f += i32(1);
    f += i32(12) + str("") + i32(3) + i32(1) + str("") // base
         + str("Ann") + str("+49301") + str("0302") + str("0303") + str("a@x.org") + str("memo") + i32(1) + i32(-1)
         + str("");
    // PC schedules: two, in start order.
    f += i32(2);
    for (double dt : {38052.25, 38053.5}) {
        CArchive date;
        date << qint32(0) << dt;
        f += i32(-1) + str("") + i32(0) + i32(1) + str("") + str("Dentist") + date.Data() + i32(2) + i32(3);
    }
    // PC memos: one.
    f += i32(1) + i32(4) + str("") + i32(0) + i32(1) + str("aux") + str("buy milk");
    // PIM-side contacts, schedules, memos: one contact, none else.
    f += i32(1) + i32(-1) + str("entry-1") + i32(0) + i32(2) + str("") + str("Bob") + str("") + str("") + str("")
         + str("") + str("") + i32(6) + i32(-1) + str("");
    f += i32(0) + i32(0);
    return f;
}

constexpr QFile::Permissions kOpenToAll = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther;
constexpr QFile::Permissions kReadOnlyForAll = QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther;

class LocalFiles : public ::testing::Test {
protected:
    LocalFiles()
    {
        g_nIrCommChunk = 20;
        g_nIrCommPause = 20;
        g_nIrCommTimeout = -1;
    }

    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

    void writeFile(const char* name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile(const char* name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    std::unique_ptr<CMVsyncDoc> openDocument()
    {
        auto doc = std::make_unique<CMVsyncDoc>();
        doc->SetDataDir(dir.path());
        doc->OnNewDocument();
        return doc;
    }

    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    testsupport::ScopedRecordingUi recording;
    QTemporaryDir dir;
};

TEST_F(LocalFiles, ACutListKeepsEveryRecordReadWhole)
{
    auto doc = openDocument();
    ASSERT_TRUE(doc->SaveLocalData());
    const qsizetype listStart = readFile("mvsync.dat").size() - 6 * 4 + 4; // past the contact count
    std::vector<qsizetype> recordEnds;
    qsizetype end = listStart;
    for (int i = 0; i < 5; ++i) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = QString(i * 9 + 1, QChar(u'a' + i));
        e->m_strMemo = i % 2 ? QStringLiteral("张") : QString();
        CArchive ar;
        e->Serialize(ar);
        recordEnds.push_back(end += ar.Data().size());
        doc->m_pcContacts.push_back(std::move(e));
    }
    ASSERT_TRUE(doc->SaveLocalData());
    const QByteArray whole = readFile("mvsync.dat");

    for (qsizetype cut = listStart; cut <= recordEnds.back(); ++cut) {
        writeFile("mvsync.dat", whole.left(cut));
        auto cutShort = openDocument();
        const auto kept = size_t(std::count_if(recordEnds.begin(), recordEnds.end(), [&](qsizetype e) { return e <= cut; }));
        ASSERT_EQ(cutShort->m_pcContacts.size(), kept) << "cut at " << cut;
        for (size_t i = 0; i < kept; ++i)
            EXPECT_EQ(cutShort->m_pcContacts[i]->m_strName, doc->m_pcContacts[i]->m_strName);
        QFile::remove(path("mvsync.dat.damaged"));
    }
}

TEST_F(LocalFiles, ASecondDamageKeepsTheFirstDamagedCopy)
{
    writeFile("mvsync.dat.damaged", "first");
    writeFile("mvsync.dat", goldenFile().left(40));
    auto doc = openDocument();
    EXPECT_EQ(readFile("mvsync.dat.damaged"), QByteArray("first"));
    EXPECT_EQ(readFile("mvsync.dat.damaged.2"), goldenFile().left(40));
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_TRUE(recording.ui.boxes[0].text.contains(QStringLiteral("mvsync.dat.damaged.2")));
}

TEST_F(LocalFiles, AFileThatCannotBeReadOrMovedAsideIsNeverSavedOver)
{
    const QByteArray golden = goldenFile();
    // Readable by nobody but its owner: the program starts with defaults, quietly.
    writeFile("mvsync.dat", golden);
    QFile::setPermissions(dir.path(), kOpenToAll);
    QFile::setPermissions(path("mvsync.dat"), QFile::Permissions());
    EXPECT_TRUE(testsupport::AsUnprivileged([&] {
        auto doc = openDocument();
        const bool quiet = recording.ui.boxes.empty() && doc->m_pcContacts.empty() && doc->m_nComPort == 1;
        doc->OnCloseDocument();
        return quiet && !doc->SaveLocalData();
    }));
    QFile::setPermissions(path("mvsync.dat"), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(readFile("mvsync.dat"), golden);
    EXPECT_FALSE(QFile::exists(path("mvsync.dat.damaged")));

    // Damaged, and the link to it cannot be moved aside in a read-only folder, while the
    // folder it points into could take a new copy.
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    QDir(dir.path()).mkdir(QStringLiteral("store"));
    const QByteArray damaged = golden.left(golden.size() - 2);
    writeFile("store/mvsync.dat", damaged);
    QFile::setPermissions(path("store"), kOpenToAll);
    QFile::setPermissions(path("store/mvsync.dat"), kOpenToAll & ~(QFile::ExeOwner | QFile::ExeOther));
    QFile::link(path("store/mvsync.dat"), path("data/mvsync.dat"));
    QFile::setPermissions(path("data"), kReadOnlyForAll);
    EXPECT_TRUE(testsupport::AsUnprivileged([&] {
        CMVsyncDoc doc;
        doc.SetDataDir(path("data"));
        doc.OnNewDocument();
        const bool told = recording.ui.boxTexts() == QStringList{platform::LoadString(64003).arg(path("data/mvsync.dat"))};
        doc.OnCloseDocument();
        return told && doc.m_pcContacts.size() == 1 && !doc.SaveLocalData();
    }));
    QFile::setPermissions(path("data"), kOpenToAll);
    EXPECT_EQ(readFile("store/mvsync.dat"), damaged);
}

TEST_F(LocalFiles, OldSingleByteTextIsCopiedAsItWasBeforeAnySave)
{
    const QByteArray configured = qgetenv("DESKHAND_CODEPAGE");
    qunsetenv("DESKHAND_CODEPAGE");
    // Written under a Chinese code page: the name is 王小明 in GBK.
    QByteArray chinese = goldenFile();
    chinese.replace(str("Ann"), QByteArray(1, char(6)) + QByteArray("\xcd\xf5\xd0\xa1\xc3\xf7"));
    writeFile("mvsync.dat", chinese);
    auto doc = openDocument();
    EXPECT_EQ(doc->m_pcContacts[0]->m_strName, QStringLiteral("ÍõÐ¡Ã÷"));
    EXPECT_EQ(readFile("mvsync.dat.legacy"), chinese);
    doc->OnCloseDocument();
    EXPECT_NE(readFile("mvsync.dat"), chinese);
    EXPECT_EQ(readFile("mvsync.dat.legacy"), chinese);

    // Put back and read in the right code page; the copy is there already.
    qputenv("DESKHAND_CODEPAGE", "GBK");
    writeFile("mvsync.dat", chinese);
    EXPECT_EQ(openDocument()->m_pcContacts[0]->m_strName, QStringLiteral("王小明"));
    EXPECT_FALSE(QFile::exists(path("mvsync.dat.legacy.2")));
    // Another old file later gets a copy of its own.
    chinese.replace(str("Bob"), str("B\xf6" "b"));
    writeFile("mvsync.dat", chinese);
    openDocument();
    EXPECT_EQ(readFile("mvsync.dat.legacy.2"), chinese);
    if (configured.isEmpty())
        qunsetenv("DESKHAND_CODEPAGE");
    else
        qputenv("DESKHAND_CODEPAGE", configured);
}

TEST_F(LocalFiles, GoldenFileLoadsAndSavesBackIdentically)
{
    const QByteArray golden = goldenFile();
    writeFile("mvsync.dat", golden);
    auto doc = openDocument();
    EXPECT_TRUE(recording.ui.boxes.empty());
    EXPECT_EQ(doc->m_nComPort, 3);
    EXPECT_EQ(doc->m_session.m_nOpenDelayMs, 250);
    EXPECT_TRUE(doc->m_session.m_port.m_bIrComm);
    EXPECT_EQ(doc->m_session.m_port.m_nPort, 3);
    EXPECT_EQ(doc->m_session.m_port.m_nIrCommPort, 7);
    EXPECT_EQ(doc->m_session.m_port.m_nIrCommTimeoutSec, 30);
    ASSERT_EQ(doc->m_pcContacts.size(), 1u);
    EXPECT_EQ(doc->m_pcContacts[0]->m_strName, QStringLiteral("Ann"));
    EXPECT_EQ(doc->m_pcContacts[0]->m_nState, CSyncRecord::StateDeleted);
    ASSERT_EQ(doc->m_pcSchedules.size(), 2u);
    EXPECT_LT(doc->m_pcSchedules[0]->m_dtStart, doc->m_pcSchedules[1]->m_dtStart);
    EXPECT_EQ(doc->m_pcMemos[0]->m_strAux, QStringLiteral("aux"));
    EXPECT_EQ(doc->m_outlookContacts[0]->m_strEntryID, QStringLiteral("entry-1"));

    const QFile::Permissions permissions = QFile::permissions(path("mvsync.dat"));
    ASSERT_TRUE(doc->SaveLocalData());
    EXPECT_EQ(readFile("mvsync.dat"), golden);
    // The file keeps its permissions; the files the save made are the user's alone.
    EXPECT_EQ(QFile::permissions(path("mvsync.dat")), permissions);
    for (const char* made : {"mnum.dat", "pimbase.dat"})
        EXPECT_EQ(QFile::permissions(path(made)) & (QFile::ReadGroup | QFile::ReadOther), 0) << made;
}

TEST_F(LocalFiles, PimSideDeletionsAndTheInfraredFlag)
{
    auto doc = openDocument();
    for (int state : {0, 3}) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_nState = state;
        doc->m_outlookContacts.push_back(std::move(e));
        auto p = std::make_unique<CPhoneEntry>();
        p->m_nState = state;
        doc->m_pcContacts.push_back(std::move(p));
    }
    ASSERT_TRUE(doc->SaveLocalData());
    auto reloaded = openDocument();
    EXPECT_EQ(reloaded->m_pcContacts.size(), 2u);
    EXPECT_EQ(reloaded->m_outlookContacts.size(), 1u);

    QByteArray file = goldenFile();
    file.replace(8, 4, i32(2)); // infrared flag 2
    writeFile("mvsync.dat", file);
    EXPECT_FALSE(openDocument()->m_session.m_port.m_bIrComm);
}

TEST_F(LocalFiles, InfraredSettingsReachTheTransportWithoutADataFile)
{
    auto doc = openDocument();
    EXPECT_FALSE(QFile::exists(path("mvsync.dat")));
    EXPECT_EQ(doc->m_session.m_port.m_nIrCommPort, 4);
    EXPECT_EQ(doc->m_session.m_port.m_nIrCommTimeoutSec, 20);
    EXPECT_EQ(doc->m_strTitle, QStringLiteral("Zentra Deskhand"));
}

TEST_F(LocalFiles, DamagedFilesKeepWhatWasCompleteAndAreMovedAside)
{
    const QByteArray golden = goldenFile();
    // Cut inside the PC memos list: contacts and schedules stay.
    const qsizetype memosAt = golden.indexOf(str("buy milk"));
    writeFile("mvsync.dat", golden.left(memosAt + 3));
    auto doc = openDocument();
    EXPECT_EQ(doc->m_nComPort, 3);
    EXPECT_EQ(doc->m_pcContacts.size(), 1u);
    EXPECT_EQ(doc->m_pcSchedules.size(), 2u);
    EXPECT_TRUE(doc->m_pcMemos.empty());
    EXPECT_FALSE(QFile::exists(path("mvsync.dat")));
    EXPECT_EQ(readFile("mvsync.dat.damaged"), golden.left(memosAt + 3));
    ASSERT_EQ(recording.ui.boxes.size(), 1u);
    EXPECT_TRUE(recording.ui.boxes[0].text.contains(QStringLiteral("mvsync.dat.damaged")));

    // The save at close writes what was kept and leaves the damaged copy alone.
    doc->OnCloseDocument();
    EXPECT_TRUE(QFile::exists(path("mvsync.dat")));
    EXPECT_EQ(readFile("mvsync.dat.damaged"), golden.left(memosAt + 3));

    // Every cut and many bit flips: no crash, always moved aside, never more than one box.
    std::mt19937 random(7);
    for (qsizetype cut = 0; cut < golden.size(); cut += 3) {
        QByteArray damaged = golden.left(cut);
        if (cut % 2)
            damaged = golden;
        for (int f = 0; f < 3 && !damaged.isEmpty() && cut % 2; ++f)
            damaged[qsizetype(random() % damaged.size())] ^= char(1u << (random() % 8));
        writeFile("mvsync.dat", damaged);
        recording.ui.boxes.clear();
        auto any = openDocument();
        EXPECT_LE(recording.ui.boxes.size(), 1u);
        EXPECT_EQ(any->m_groupNames.size(), CMVsyncDoc::kGroupCount);
        if (!recording.ui.boxes.empty()) {
            EXPECT_FALSE(QFile::exists(path("mvsync.dat")));
        }
    }
}

TEST_F(LocalFiles, NumberDirectoryHoldsLiveEntriesOnly)
{
    auto doc = openDocument();
    for (int i = 0; i < 3; ++i) {
        auto e = std::make_unique<CPhoneEntry>();
        e->m_strName = QStringLiteral("n%1").arg(i);
        e->m_strMobile = QStringLiteral("%1").arg(i);
        e->m_nState = i == 1 ? CSyncRecord::StateDeleted : 0;
        doc->m_pcContacts.push_back(std::move(e));
    }
    auto sim = std::make_unique<CPhoneEntry>();
    sim->m_strName = QStringLiteral("s");
    sim->m_strMobile = QStringLiteral("9");
    doc->m_simContacts.push_back(std::move(sim));
    ASSERT_TRUE(doc->SaveNumberDirectory());
    EXPECT_EQ(readFile("mnum.dat"), i32(2) + str("n0") + str("0") + str("n2") + str("2") + i32(0) + i32(1) + str("s")
                                        + str("9"));
}

TEST_F(LocalFiles, SavingIntoAnUnwritableFolderFailsAndKeepsTheOldFile)
{
    auto doc = openDocument();
    doc->m_pcMemos.push_back(std::make_unique<CMemoEntry>());
    ASSERT_TRUE(doc->SaveLocalData());
    const QByteArray before = readFile("mvsync.dat");

    // A folder that cannot exist, for every user: it lies under a plain file.
    writeFile("plain", "x");
    CMVsyncDoc nowhere;
    nowhere.SetDataDir(path("plain/sub"));
    EXPECT_FALSE(nowhere.SaveLocalData());
    nowhere.OnFileSave();
    // Each file named, with its reason.
    const QString notAFolder = qt_error_string(ENOTDIR);
    EXPECT_EQ(recording.ui.boxTexts(),
              QStringList{QStringLiteral("Failed to save \"%1\" (%4), \"%2\" (%4), \"%3\" (%4). The previous copy was kept.")
                              .arg(path("plain/sub/mnum.dat"), path("plain/sub/pimbase.dat"), path("plain/sub/mvsync.dat"),
                                   notAFolder)});

    // A folder the user may not write to: checked as an unprivileged user, since root may.
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to switch to an unprivileged user";
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther);
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(2);
        doc->m_pcMemos.push_back(std::make_unique<CMemoEntry>());
        _exit(doc->SaveLocalData() ? 1 : 0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(readFile("mvsync.dat"), before);
}

TEST_F(LocalFiles, SaveCommandReportsSuccess)
{
    auto doc = openDocument();
    doc->OnFileSave();
    EXPECT_EQ(recording.ui.boxTexts(), QStringList{QStringLiteral("Success to save")});
}

TEST_F(LocalFiles, ConfigIniIsCreatedAndReadWithProfileRules)
{
    openDocument();
    EXPECT_EQ(readFile("config.ini"), QByteArray("[IrComm]\r\nbyte=20\r\nsleep=20\r\n[IrComm2k]\r\nbyte=20\r\nsleep=20\r\n"));
    EXPECT_EQ(g_nIrCommChunk, 20);
    EXPECT_EQ(g_nIrCommPause, 20);
    EXPECT_EQ(g_nIrCommTimeout, -1);

    struct Case {
        const char* ini;
        int chunk, pause, timeout;
    };
    const Case cases[] = {
        {"", 20, 20, -1},
        {"[IrComm2k]\r\r\nbyte=32\r\r\nsleep=5\r\r\ntimeout=30\r\r\n", 32, 5, 30},
        {"[IrComm]\r\nbyte=64\r\n[IrComm2k]\r\nbyte=12\r\n", 12, 20, -1},
        {"[ircomm2k]\nBYTE=abc\nsleep=-4\ntimeout=0\n", 20, 20, -1},
        {"[IrComm2k]\nbyte=-1\nsleep=999999\ntimeout=-3\n", 20, 1000, -1},
        {"[IrComm2k]\nbyte= 48 bytes\nsleep=\"7\"\n", 48, 7, -1},
    };
    for (const Case& c : cases) {
        g_nIrCommTimeout = -1;
        writeFile("config.ini", c.ini);
        openDocument();
        EXPECT_EQ(g_nIrCommChunk, c.chunk) << c.ini;
        EXPECT_EQ(g_nIrCommPause, c.pause) << c.ini;
        EXPECT_EQ(g_nIrCommTimeout, c.timeout) << c.ini;
    }
}

// Settings that are there but cannot be read are the user's all the same: never saved over. The
// user is told which file and why, and the infrared pacing keeps its built-in values.
TEST_F(LocalFiles, ConfigIniThatCannotBeReadIsLeftAloneAndSaid)
{
    const QString config = path("config.ini");
    const QByteArray settings = "[IrComm2k]\r\nbyte=32\r\n";
    const struct {
        const char* what;
        std::function<void()> setup;
    } rows[] = {
        {"a folder in its place", [&] { ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("config.ini"))); }},
        {"closed to the user",
         [&] {
             writeFile("config.ini", settings);
             ASSERT_TRUE(QFile::setPermissions(config, QFileDevice::Permissions()));
         }},
    };
    // A folder the user may write to: what is not saved over is not saved over by choice.
    QFile::setPermissions(dir.path(), kOpenToAll);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        QFile::remove(config);
        QDir(dir.path()).rmdir(QStringLiteral("config.ini"));
        row.setup();
        EXPECT_TRUE(testsupport::AsUnprivileged([&] {
            g_nIrCommChunk = 7;
            g_nIrCommPause = 8;
            g_nIrCommTimeout = -1;
            recording.ui.boxes.clear();
            CMVsyncDoc doc;
            doc.SetDataDir(dir.path());
            doc.ReadConfig();
            QFile probe(config);
            const bool unreadable = !probe.open(QIODevice::ReadOnly) || probe.readAll().isEmpty();
            return unreadable && recording.ui.boxTexts() == QStringList {platform::LoadString(64004).arg(config, probe.errorString())}
                   && recording.ui.boxes[0].style == unsigned(platform::MB_ICONWARNING) && g_nIrCommChunk == 7
                   && g_nIrCommPause == 8 && g_nIrCommTimeout == -1;
        }));
    }
    // Still what the user had.
    EXPECT_TRUE(QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(readFile("config.ini"), settings);
    EXPECT_EQ(testsupport::FolderEntries(dir.path()), QStringList {QStringLiteral("config.ini")});
}

// Saves replace the names themselves: a link planted at one of the files' names never makes a
// save write the file it points to, nor create one there. What a killed save left goes at the
// next start.
TEST_F(LocalFiles, SavesReplaceLinksAndTheNextStartRemovesWhatAKilledSaveLeft)
{
    QDir(dir.path()).mkdir(QStringLiteral("other"));
    writeFile("other/numbers", "someone else's");
    const struct {
        const char* name;
        const char* target;
    } links[] = {
        {"mvsync.dat", "other/data"}, // nothing there yet
        {"mnum.dat", "other/numbers"},
        {"config.ini", "other/config"},
    };
    for (const auto& link : links)
        ASSERT_TRUE(QFile::link(path(link.target), path(link.name)));
    auto doc = openDocument();
    doc->m_pcMemos.push_back(std::make_unique<CMemoEntry>());
    doc->m_pcMemos[0]->m_strText = QString(200, u'm');
    EXPECT_TRUE(doc->SaveLocalData());
    for (const auto& link : links) {
        EXPECT_FALSE(QFileInfo(path(link.name)).isSymLink()) << link.name;
        EXPECT_TRUE(QFileInfo(path(link.name)).isFile()) << link.name;
    }
    EXPECT_EQ(testsupport::FolderEntries(path("other")), QStringList{"numbers"});
    EXPECT_EQ(readFile("other/numbers"), QByteArray("someone else's"));

    const QByteArray saved = readFile("mvsync.dat");
    const QStringList before = testsupport::FolderEntries(dir.path());
    doc->m_pcMemos[0]->m_strText = QString(400, u'n');
    ASSERT_TRUE(testsupport::RunKilledSave([&] { doc->SaveLocalData(); }));
    EXPECT_EQ(testsupport::FolderEntries(dir.path()).size(), before.size() + 1);
    EXPECT_EQ(readFile("mvsync.dat"), saved);
    doc.reset();
    auto next = openDocument();
    EXPECT_EQ(testsupport::FolderEntries(dir.path()), before);
    ASSERT_EQ(next->m_pcMemos.size(), 1u);
    EXPECT_EQ(next->m_pcMemos[0]->m_strText, QString(200, u'm'));
}

} // namespace
