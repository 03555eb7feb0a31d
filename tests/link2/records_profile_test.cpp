// Records and their data-file form, the model profile and the group table.
#include "link2/model_profile.h"
#include "link2/records.h"
#include "platform/archive.h"
#include "platform/string_table.h"
#include "support/string_tables_check.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using namespace dh2;

template <typename Record>
QByteArray Archived(const Record& record)
{
    CArchive out;
    const_cast<Record&>(record).Serialize(out);
    return out.Data();
}

template <typename Record>
Record Loaded(const QByteArray& bytes)
{
    CArchive in(bytes);
    Record record;
    record.Serialize(in);
    EXPECT_TRUE(in.ok());
    EXPECT_EQ(in.BytesLeft(), 0);
    return record;
}

// The data file holds these bytes: the field orders are its format.
TEST(Records2, ArchiveForms)
{
    CPhoneEntry contact;
    contact.m_nIndex = 1;
    contact.m_strName = QStringLiteral("N");
    contact.m_strFax = QStringLiteral("F");
    contact.m_bCountsInGroup = true;
    // index, entry id, state, list; name, mobile, office, home, fax, e-mail, group, SIM index
    EXPECT_EQ(Archived(contact), QByteArray::fromHex("01000000" "00" "00000000" "00000000"
                                                     "014e" "00" "00" "00" "0146" "00" "07000000" "ffffffff"));
    EXPECT_FALSE(Loaded<CPhoneEntry>(Archived(contact)).m_bCountsInGroup);

    CScheduleEntry memo;
    memo.m_nKind = CScheduleEntry::KindMemo;
    memo.m_nState = CSyncRecord::StateDeleted;
    memo.m_strSubject = QStringLiteral("M");
    memo.m_dtStart = COleDateTime(2004, 3, 1, 12, 0, 0);
    // base, subject, start (status, value), repeat, alarm, kind
    QByteArray date(8, '\0');
    const double days = memo.m_dtStart.m_dt;
    std::memcpy(date.data(), &days, sizeof days); // little-endian, as the archive writes it
    EXPECT_EQ(Archived(memo), QByteArray::fromHex("ffffffff" "00" "03000000" "00000000" "014d" "00000000") + date
            + QByteArray::fromHex("00000000" "00000000" "02000000"));
    const CScheduleEntry loaded = Loaded<CScheduleEntry>(Archived(memo));
    EXPECT_EQ(loaded.m_nKind, CScheduleEntry::KindMemo);
    EXPECT_EQ(loaded.m_nState, CSyncRecord::StateDeleted);
    EXPECT_EQ(loaded.m_dtStart, memo.m_dtStart);

    CSmsEntry message;
    message.m_strDate = QStringLiteral("7/3/2004");
    message.m_strTime = QStringLiteral("9:5:0 0");
    // base, status, text, number, name, date, time
    EXPECT_EQ(Archived(message), QByteArray::fromHex("ffffffff" "00" "00000000" "00000000" "01000000" "00" "00" "00")
            + "\x08" "7/3/2004" "\x07" "9:5:0 0");
}

TEST(Records2, Defaults)
{
    const CPhoneEntry contact;
    EXPECT_EQ(contact.m_nGroup, 7);
    EXPECT_EQ(contact.m_nSimIndex, -1);
    const CScheduleEntry schedule;
    EXPECT_EQ(schedule.m_nKind, 1);
    EXPECT_EQ(schedule.m_dtStart.ToQDateTime(), QDateTime(QDate::currentDate(), QTime(12, 0)));
    EXPECT_EQ(CSmsEntry().m_nStatus, 1);
}

TEST(Records2, AssignCopiesWhatItsTableSays)
{
    CPhoneEntry from;
    from.m_nIndex = 4;
    from.m_strEntryID = QStringLiteral("id");
    from.m_nState = 2;
    from.m_nList = 3;
    from.m_strFax = QStringLiteral("f");
    from.m_nSimIndex = 9;
    from.m_nGroup = 1;
    from.m_bCountsInGroup = true;
    CPhoneEntry to;
    to.Assign(static_cast<const CSyncRecord&>(from));
    EXPECT_EQ(to.m_nIndex, 4);
    EXPECT_EQ(to.m_nList, 3);
    EXPECT_EQ(to.m_strFax, QStringLiteral("f"));
    EXPECT_EQ(to.m_nSimIndex, 9);
    EXPECT_EQ(to.m_nGroup, 1);
    EXPECT_EQ(to.m_strEntryID, QString());
    EXPECT_EQ(to.m_nState, 0);
    EXPECT_FALSE(to.m_bCountsInGroup);

    CScheduleEntry schedule;
    schedule.m_nKind = 2;
    schedule.m_nList = 3;
    schedule.m_nState = 1;
    CScheduleEntry copy;
    copy.Assign(schedule);
    EXPECT_EQ(copy.m_nKind, 2);
    EXPECT_EQ(copy.m_nList, 3); // unlike Deskhand's
    EXPECT_EQ(copy.m_nState, 0);
}

TEST(ModelProfile, FlagsByTypeAndTheSignal)
{
    CModelProfile profile;
    EXPECT_EQ(profile.GetModel(), 2);
    QSignalSpy spy(&profile, &CModelProfile::modelChanged);
    const struct {
        int type;
        ModelFeatures flags;
    } rows[] = {
        {0, {false, true, false, false, true, false, true}},
        {1, {false, true, true, true, true, true, true}},
        {2, {true, false, false, true, false, true, false}},
        {3, {true, false, false, false, true, true, false}},
        {4, {false, true, false, false, true, true, true}},
        {5, {false, true, false, true, true, false, true}},
        {-1, {false, true, false, true, true, false, true}},
    };
    for (const auto& row : rows) {
        profile.SetModel(row.type);
        EXPECT_EQ(profile.GetModel(), row.type);
        EXPECT_EQ(profile.Features(), row.flags) << row.type;
        EXPECT_EQ(spy.takeFirst().value(0).toInt(), row.type);
    }
}

// The names table pairs each name with its own member, in flag order: setting the member of
// entry i sets flag i alone.
TEST(ModelProfile, FeatureNamesFollowTheFlagOrder)
{
    const ModelFeatures alone[] = {
        {true, false, false, false, false, false, false},
        {false, true, false, false, false, false, false},
        {false, false, true, false, false, false, false},
        {false, false, false, true, false, false, false},
        {false, false, false, false, true, false, false},
        {false, false, false, false, false, true, false},
        {false, false, false, false, false, false, true},
    };
    ASSERT_EQ(std::size(alone), kModelFeatureNames.size());
    for (size_t i = 0; i < kModelFeatureNames.size(); ++i) {
        ModelFeatures features;
        features.*kModelFeatureNames[i].member = true;
        EXPECT_EQ(features, alone[i]) << kModelFeatureNames[i].name;
    }
}

TEST(GroupTable, NamesOutsideTheTableAreNoGroup)
{
    g_arrGroups.clear();
    EXPECT_EQ(GetGroupName(0), QStringLiteral("No group"));
    ResetDefaultGroups();
    ASSERT_EQ(g_arrGroups.size(), 8u);
    const char* names[] = {"Family", "Friends", "Colleague", "VIP", "Group1", "Group2", "Others", "No group"};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(GetGroupName(i), QLatin1String(names[i]));
        EXPECT_EQ(g_arrGroups[size_t(i)].m_nCapacity, 0);
    }
    EXPECT_EQ(GetGroupName(-1), QStringLiteral("No group"));
    EXPECT_EQ(GetGroupName(8), QStringLiteral("No group"));
    EXPECT_EQ(GetGroupName(255), QStringLiteral("No group"));

    CArchive out;
    g_arrGroups[0].Serialize(out);
    EXPECT_EQ(out.Data(), QByteArray("\x06" "Family"));
}

TEST(StringTable2, TablesAreWellFormed)
{
    testsupport::ExpectWellFormedStringTables();
}

} // namespace
