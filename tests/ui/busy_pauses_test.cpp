// Deskhand's commands and their pauses: the document is busy at every pause of a command, and
// the main window takes no user input then; the progress window's Abort is still heard.
#include "organizer_fixture.h"

#include "support/sleep_watch.h"
#include "ui/contact_dlg.h"
#include "ui/schedule_dlg.h"

#include <QAbstractButton>
#include <QDir>
#include <QTest>

#include <gmock/gmock.h>

#include <functional>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::OrganizerTest;

class BusyPauses : public OrganizerTest {
protected:
    void SetUp() override
    {
        OrganizerTest::SetUp();
        for (const char* folder : {"pim/contacts", "pim/calendar", "pim/notes"})
            ASSERT_TRUE(QDir().mkpath(dataDir.filePath(QString::fromLatin1(folder))));
        m_oldPimDir = qgetenv("DESKHAND_PIM_DIR");
        qputenv("DESKHAND_PIM_DIR", dataDir.filePath(QStringLiteral("pim")).toLocal8Bit());
    }
    void TearDown() override
    {
        qputenv("DESKHAND_PIM_DIR", m_oldPimDir);
        OrganizerTest::TearDown();
    }

    QAbstractButton* ButtonOutside(const QString& text) const { return windowtest::ButtonOutside(*frame, text); }

    testsupport::SleepWatch watch {clock};

private:
    QByteArray m_oldPimDir;
};

// Every command that talks to the phone or the PIM pauses only while the document is busy.
TEST_F(BusyPauses, EveryPauseOfACommandIsBusy)
{
    AddPcContact("Dora", "0172");
    AddSchedule("Gym", Today());
    AddMemo("Bread");
    const testsupport::NamedCommand commands[] = {
        {"contacts: read the handset", [&] { Click(IDC_MOBILE_READ); }},
        {"contacts: copy to the handset",
         [&] {
             Select(List(IDC_PC_LIST), {0});
             Click(IDC_COPY_TO_MOBILE);
         }},
        {"contacts: new on the handset",
         [&] {
             dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) {
                 dlg.NameEdit()->setText("Kim");
                 dlg.HomeEdit()->setText("0308");
             }));
             Click(IDC_MOBILE_NEW);
         }},
        {"contacts: edit on the handset",
         [&] {
             ClickRow(List(IDC_HANDSET_LIST), 0);
             dialogs.push_back(Fill<CContactDlg>([](CContactDlg& dlg) { dlg.NameEdit()->setText("Anna"); }));
             Click(IDC_MOBILE_EDIT);
         }},
        {"contacts: delete on the handset",
         [&] {
             Select(List(IDC_HANDSET_LIST), {0});
             Click(IDC_MOBILE_DELETE);
         }},
        {"contacts: read the SIM",
         [&] {
             Click(IDC_SIM);
             Click(IDC_MOBILE_READ);
         }},
        {"contacts: the PIM list", [&] { Click(IDC_OUTLOOK); }},
        {"contacts: read the PIM", [&] { Click(IDC_PC_READ); }},
        {"contacts: copy to the PIM list",
         [&] {
             Select(List(IDC_SIM_LIST), {0});
             Click(IDC_COPY_TO_PC);
         }},
        {"schedules: read the phone", [&] { Press(schedule, IDC_MOBILE_READ); }},
        {"schedules: copy to the phone",
         [&] {
             Select(schedule->RecordList(IDC_PC_LIST), {0});
             Press(schedule, IDC_COPY_TO_MOBILE);
         }},
        {"schedules: edit on the phone",
         [&] {
             Select(schedule->RecordList(IDC_PHONE_LIST), {0});
             Q_EMIT schedule->RecordList(IDC_PHONE_LIST)->listClicked();
             dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) { dlg.SubjectEdit()->setText("Surgeon"); }));
             Press(schedule, IDC_MOBILE_EDIT);
         }},
        {"schedules: delete on the phone",
         [&] {
             Select(schedule->RecordList(IDC_PHONE_LIST), {0});
             Press(schedule, IDC_MOBILE_DELETE);
         }},
        {"memos: read the phone", [&] { Press(memo, IDC_MOBILE_READ); }},
        {"memos: copy to the phone",
         [&] {
             Select(memo->RecordList(IDC_PC_LIST), {0});
             Press(memo, IDC_COPY_TO_MOBILE);
         }},
        {"memos: delete on the phone",
         [&] {
             Select(memo->RecordList(IDC_PHONE_LIST), {0});
             Press(memo, IDC_MOBILE_DELETE);
         }},
    };
    testsupport::ExpectBusyInEveryPause(watch, commands, [&] { return doc->IsBusy(); }, [&] { ExpectIdle(); });
    EXPECT_TRUE(dialogs.empty());
    // The three deletions asked first.
    EXPECT_THAT(Boxes(), ElementsAre("Are you sure?", "Are you sure?", "Are you sure?"));
}

// Abort, pressed in a pause of a read, ends the read; a click on the main window then starts
// nothing.
TEST_F(BusyPauses, AbortInAPauseEndsTheTransfer)
{
    QAbstractButton* abort = nullptr;
    watch.onSleep = [&](int) {
        if (abort || Sent("AT+CPBR").isEmpty())
            return;
        abort = ButtonOutside(QStringLiteral("Abort"));
        ASSERT_NE(abort, nullptr);
        QTest::mouseClick(form->GetDlgItem(IDC_MOBILE_READ), Qt::LeftButton);
        QTest::mouseClick(abort, Qt::LeftButton);
    };
    Click(IDC_MOBILE_READ);
    watch.onSleep = nullptr;
    ASSERT_NE(abort, nullptr);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to read data. - User abort"));
    EXPECT_EQ(Sent("AT+CPBS").size(), 1);
    EXPECT_THAT(Names(List(IDC_HANDSET_LIST)), ElementsAre());
    ExpectIdle();
}

} // namespace
