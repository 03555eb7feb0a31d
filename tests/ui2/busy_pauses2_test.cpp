// Deskhand2's commands and their pauses: the document is busy at every pause of a command, and
// the main window takes no user input then, so that a click or a shortcut in a pause cannot
// start a second command inside the first; the progress window's Cancel is still heard.
#include "organizer_fixture.h"

#include "support/sleep_watch.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QTest>

#include <functional>

namespace {

using namespace ui2test;

class BusyPauses2 : public OrganizerTest {
protected:
    void SetUp() override
    {
        OrganizerTest::SetUp();
        for (const char* folder : {"pim/contacts", "pim/calendar", "pim/notes"})
            ASSERT_TRUE(QDir().mkpath(dataDir.filePath(QString::fromLatin1(folder))));
    }

    QWidget* Button(COrganizerForm* page, int id) const { return page->GetDlgItem(id); }
    QWidget* Button(int id) const { return form->GetDlgItem(id); }
    static void Press(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

    QAbstractButton* ButtonOutside(const QString& text) const { return windowtest::ButtonOutside(*frame, text); }

    testsupport::SleepWatch watch {clock};
};

// Every command that talks to the phone or the PIM, or shows its "Adding data" window, pauses
// only while the document is busy.
TEST_F(BusyPauses2, EveryPauseOfACommandIsBusy)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    PutHandset(2, QStringLiteral("Bob"), QStringLiteral("0302"));
    PutOnPhone(1, 0, QStringLiteral("Dentist"));
    PutOnPhone(2, 1, QStringLiteral("Milk"));
    AddPcContact(QStringLiteral("Cleo"), QStringLiteral("0303"));
    AddPc(schedules, QStringLiteral("Gym"));
    AddPc(memos, QStringLiteral("Bread"));

    const testsupport::NamedCommand commands[] = {
        {"contacts: read the handset", [&] { Click(IDC_MOBILE_READ); }},
        {"contacts: copy to the PC list",
         [&] {
             Check(List(IDC_HANDSET_LIST), {0});
             Click(IDC_COPY_TO_PC);
         }},
        {"contacts: copy to the handset",
         [&] {
             Check(List(IDC_PC_LIST), {0});
             Click(IDC_COPY_TO_MOBILE);
         }},
        {"contacts: delete on the handset",
         [&] {
             Check(List(IDC_HANDSET_LIST), {0});
             Click(IDC_MOBILE_DELETE);
         }},
        {"contacts: read the SIM",
         [&] {
             Click(IDC_SIM);
             Click(IDC_MOBILE_READ);
         }},
        {"contacts: the PIM list is read", [&] { Click(IDC_OUTLOOK); }},
        {"contacts: copy to the PIM list",
         [&] {
             Click(IDC_MOBILE);
             Check(List(IDC_HANDSET_LIST), {0});
             Click(IDC_COPY_TO_PC);
         }},
        {"contacts: read the PIM again", [&] { Click(IDC_PC_READ); }},
        {"schedules: read the phone", [&] { ClickOn(schedules, IDC_MOBILE_READ); }},
        {"schedules: copy to the PC list",
         [&] {
             Check(ListOn(schedules, IDC_PHONE_LIST), {0});
             ClickOn(schedules, IDC_COPY_TO_PC);
         }},
        {"schedules: copy to the phone",
         [&] {
             Check(ListOn(schedules, IDC_PC_LIST), {0});
             ClickOn(schedules, IDC_COPY_TO_MOBILE);
         }},
        {"schedules: delete on the phone",
         [&] {
             Check(ListOn(schedules, IDC_PHONE_LIST), {0});
             ClickOn(schedules, IDC_MOBILE_DELETE);
         }},
        {"memos: read the phone", [&] { ClickOn(memos, IDC_MOBILE_READ); }},
        {"memos: copy to the PC list",
         [&] {
             Check(ListOn(memos, IDC_PHONE_LIST), {0});
             ClickOn(memos, IDC_COPY_TO_PC);
         }},
        {"memos: the PIM list is read", [&] { ClickOn(memos, IDC_OUTLOOK); }},
        {"memos: copy to the PIM list",
         [&] {
             Check(ListOn(memos, IDC_PHONE_LIST), {0});
             ClickOn(memos, IDC_COPY_TO_PC);
         }},
    };
    testsupport::ExpectBusyInEveryPause(watch, commands, [&] { return doc->IsBusy(); }, [&] { ExpectIdle(); });
    EXPECT_TRUE(Boxes().isEmpty()) << Boxes().join(u'|').toStdString();
}

// A click on Read, and Ctrl+S in the window, in the pause of the "Adding data" window start
// nothing; once the copy is over they work.
TEST_F(BusyPauses2, InputInAPauseStartsNoSecondCommand)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    Click(IDC_MOBILE_READ);
    PutHandset(2, QStringLiteral("Bob"), QStringLiteral("0302"));
    Check(List(IDC_HANDSET_LIST), {0});
    const qsizetype sent = phone.commandLog().size();
    int saves = 0;
    QObject::connect(frame->FindAction(ID_FILE_SAVE), &QAction::triggered, [&] { ++saves; });
    const auto pressSave = [this] {
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        QTest::keyClick(List(IDC_PC_LIST), Qt::Key_S, Qt::ControlModifier);
    };

    int pauses = 0;
    watch.onSleep = [&](int) {
        if (pauses++ > 0)
            return;
        Press(Button(IDC_MOBILE_READ));
        pressSave();
    };
    Press(Button(IDC_COPY_TO_PC));
    watch.onSleep = nullptr;
    EXPECT_GT(pauses, 0);
    EXPECT_EQ(phone.commandLog().size(), sent);
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), QStringList {"Ann"});
    EXPECT_EQ(Names(List(IDC_PC_LIST)), QStringList {"Ann"});
    EXPECT_EQ(saves, 0);
    ExpectIdle();

    Press(Button(IDC_MOBILE_READ));
    EXPECT_EQ(Names(List(IDC_HANDSET_LIST)), (QStringList {"Ann", "Bob"}));
    pressSave();
    EXPECT_EQ(saves, 1);
}

// The progress window's Cancel, pressed in a pause of a read, ends the read: only the main
// window is held off.
TEST_F(BusyPauses2, CancelInAPauseEndsTheTransfer)
{
    PutHandset(1, QStringLiteral("Ann"), QStringLiteral("0301"));
    QAbstractButton* cancel = nullptr;
    watch.onSleep = [&](int) {
        if (cancel || Sent("AT+CPBS").isEmpty())
            return;
        cancel = ButtonOutside(QStringLiteral("Cancel"));
        ASSERT_NE(cancel, nullptr);
        Press(cancel);
    };
    Press(Button(IDC_MOBILE_READ));
    watch.onSleep = nullptr;
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(Boxes(), QStringList {"Failed to read Mobile."});
    EXPECT_TRUE(Sent("AT+CPBR").isEmpty());
    EXPECT_TRUE(Names(List(IDC_HANDSET_LIST)).isEmpty());
    ExpectIdle();
}

} // namespace
