// The schedule page driven through its buttons, its month calendar and its dialogs against
// the simulated phone, "today" being 17 March 2004 on the virtual clock.
#include "organizer_fixture.h"

#include "controls/limited_line_edit.h"
#include "ui/schedule_dlg.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimeEdit>

#include <gmock/gmock.h>

using namespace dh1;

namespace {

using namespace ids;
using ::testing::ElementsAre;
using uitest::OrganizerTest;

using ScheduleForm = OrganizerTest;

// The calendar sits on the local list less 10 pixels on every side and takes all of it that
// whole lines of text and whole columns can use.
testing::AssertionResult PlacedOnList(const CMSFlexGrid* grid, const QRect& list)
{
    const QRect place = list.adjusted(10, 10, -10, -10);
    const QRect at = grid->geometry();
    if (at.topLeft() == place.topLeft() && place.contains(at) && place.right() - at.right() < CSchFlexMan::kCols
        && place.bottom() - at.bottom() < 6 * (grid->LineHeight() + 1))
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "grid at " << at.x() << "," << at.y() << " " << at.width() << " x "
                                       << at.height() << " on " << place.width() << " x " << place.height();
}

TEST_F(ScheduleForm, TheCalendarOpensOnTodayAndTheGridShowsOnlyWithIt)
{
    ShowPage(1);
    EXPECT_EQ(frame->GetCaptionBar()->GetText(), "Schedule");
    EXPECT_EQ(frame->GetCurrentTab(), 1);
    CMSFlexGrid* grid = schedule->GetGrid();
    EXPECT_FALSE(grid->isVisible());
    // A resize in the list view places the grid but leaves it hidden over the list.
    frame->resize(1100, 760);
    QApplication::processEvents();
    EXPECT_FALSE(grid->isVisible());

    Press(schedule, IDC_MONTH);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_FALSE(schedule->RecordList(IDC_PC_LIST)->isVisible());
    EXPECT_EQ(schedule->Caption(IDC_PC_CAPTION)->title(), "Calendar");
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2004 / 03");
    EXPECT_EQ(schedule->GetFlexMan().GetSelectedDate().date(), Today());
    EXPECT_EQ(QPoint(int(grid->GetCol()), int(grid->GetRow())), DayCell(Today()));
    EXPECT_FALSE(IsOn(schedule, IDC_COPY_TO_MOBILE));
    EXPECT_FALSE(IsOn(schedule, IDC_PC_DELETE));
    EXPECT_TRUE(PlacedOnList(grid, schedule->RecordList(IDC_PC_LIST)->geometry()));

    // The grid follows the list's place on every resize and after a divider move.
    frame->resize(1000, 700);
    QApplication::processEvents();
    EXPECT_TRUE(PlacedOnList(grid, schedule->RecordList(IDC_PC_LIST)->geometry()));

    // And after the divider moved; the selectors move with it.
    const int monthX = schedule->GetDlgItem(IDC_MONTH)->x();
    const QRect hit = schedule->DividerHitRect();
    QWidget* surface = schedule->GetFormSurface();
    QTest::mousePress(surface, Qt::LeftButton, {}, hit.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(hit.center().x() + 40, hit.center().y()), QPointF(), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(surface, &move);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(hit.center().x() + 40, hit.center().y()));
    EXPECT_TRUE(PlacedOnList(grid, schedule->RecordList(IDC_PC_LIST)->geometry()));
    EXPECT_TRUE(grid->isVisible());
    EXPECT_EQ(schedule->GetDlgItem(IDC_MONTH)->x(), monthX + 40);

    // Another month, then the calendar again: today's month with today selected.
    Press(schedule, IDC_NEXT_MONTH);
    Press(schedule, IDC_NEXT_MONTH);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2004 / 05");
    Press(schedule, IDC_MONTH);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2004 / 03");
    EXPECT_EQ(schedule->GetFlexMan().GetSelectedDate().date(), Today());

    // Back to the list: the grid goes and stays hidden through later resizes.
    Press(schedule, IDC_LOCAL_SOURCE);
    EXPECT_FALSE(grid->isVisible());
    EXPECT_TRUE(schedule->RecordList(IDC_PC_LIST)->isVisible());
    frame->resize(1100, 760);
    QApplication::processEvents();
    EXPECT_FALSE(grid->isVisible());
    EXPECT_EQ(schedule->Caption(IDC_PC_CAPTION)->title(), "Zentra Deskhand");
}

TEST_F(ScheduleForm, RepeatMarksFollowEveryLaterOccurrenceAcrossTheYear)
{
    AddSchedule("Gym", QDate(2004, 12, 30), 1);
    AddSchedule("Choir", QDate(2004, 12, 29), 2);
    AddSchedule("Rent", QDate(2004, 12, 31), 3);
    AddSchedule("Leap", QDate(2004, 2, 29), 4);
    AddSchedule("Party", QDate(2004, 12, 31));
    ShowPage(1);
    Press(schedule, IDC_MONTH);
    // Earlier than every start: nothing but the leap day's own entry in February.
    EXPECT_EQ(DayText(QDate(2004, 3, 31)), "");
    for (int i = 0; i < 9; ++i)
        Press(schedule, IDC_NEXT_MONTH);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2004 / 12");
    EXPECT_EQ(DayText(QDate(2004, 12, 29)), "Choir");
    EXPECT_EQ(DayText(QDate(2004, 12, 30)), "Gym");
    // Row order is start order: Choir, Gym, Rent, Party.
    EXPECT_EQ(DayText(QDate(2004, 12, 31)), "(R)Gym\rRent\rParty");

    Press(schedule, IDC_NEXT_MONTH);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2005 / 01");
    EXPECT_EQ(DayText(QDate(2005, 1, 1)), "(R)Gym");
    EXPECT_EQ(DayText(QDate(2005, 1, 5)), "(R)Choir\r(R)Gym");
    EXPECT_EQ(DayText(QDate(2005, 1, 31)), "(R)Gym\r(R)Rent");
    Press(schedule, IDC_NEXT_MONTH);
    // No 31st in February, no 29th in 2005.
    EXPECT_EQ(DayText(QDate(2005, 2, 28)), "(R)Gym");

    // The leap day comes back in the next leap year only.
    for (int i = 0; i < 36; ++i)
        Press(schedule, IDC_NEXT_MONTH);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2008 / 02");
    EXPECT_EQ(DayText(QDate(2008, 2, 29)), "(R)Leap\r(R)Gym");
    EXPECT_EQ(DayText(QDate(2008, 2, 27)), "(R)Choir\r(R)Gym");
    // The neighbouring months' days stay empty.
    EXPECT_EQ(schedule->GetGrid()->GetTextMatrix(12, 6), "");
}

TEST_F(ScheduleForm, DoubleClicksOpenNewEditOrThePick)
{
    AddSchedule("Daily walk", QDate(2004, 3, 1), 1);
    CScheduleEntry* dentist = AddSchedule("Dentist", QDate(2004, 3, 18), 0, QTime(10, 0));
    AddSchedule("Lunch", QDate(2004, 3, 19), 0, QTime(12, 0));
    AddSchedule("Dinner", QDate(2004, 3, 19), 0, QTime(19, 0));
    ShowPage(1);
    Press(schedule, IDC_MONTH);
    EXPECT_EQ(DayText(QDate(2004, 3, 18)), "(R)Daily walk\rDentist");

    // A day with repeat marks only: a new entry on that day at 00:00.
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "New");
        EXPECT_EQ(dlg.DateEdit()->date(), QDate(2004, 3, 22));
        EXPECT_EQ(dlg.TimeEdit()->time(), QTime(0, 0));
        dlg.SubjectEdit()->setText("Meeting");
    }));
    DoubleClickDay(QDate(2004, 3, 22));
    EXPECT_EQ(dialogsRun, 1);
    EXPECT_EQ(DayText(QDate(2004, 3, 22)), "(R)Daily walk\rMeeting");
    ASSERT_EQ(doc->m_pcSchedules.size(), 5u);
    EXPECT_EQ(schedule->Static(IDC_MONTH_LABEL)->text(), "2004 / 03");

    // A day with an entry of its own opens it, although a repeat mark stands first.
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Edit");
        EXPECT_EQ(dlg.SubjectEdit()->text(), "Dentist");
        dlg.SubjectEdit()->setText("Dentist at 10");
    }));
    DoubleClickDay(QDate(2004, 3, 18));
    EXPECT_EQ(dentist->m_strSubject, "Dentist at 10");
    EXPECT_EQ(dentist->m_nState, CSyncRecord::StateChanged);
    EXPECT_EQ(DayText(QDate(2004, 3, 18)), "(R)Daily walk\rDentist at 10");

    // Two entries: the pick; Cancel changes nothing and opens nothing else.
    dialogs.push_back([](QDialog& dialog) {
        auto* pick = qobject_cast<CSelectScheduleDlg*>(&dialog);
        EXPECT_NE(pick, nullptr);
        if (pick) {
            EXPECT_THAT(uitest::MainWindowTest::Names(pick->List()), ElementsAre("Lunch", "Dinner"));
        }
        return int(QDialog::Rejected);
    });
    DoubleClickDay(QDate(2004, 3, 19));
    EXPECT_EQ(dialogsRun, 3);
    EXPECT_EQ(DayText(QDate(2004, 3, 19)), "(R)Daily walk\rLunch\rDinner");

    // OK without a choice keeps the pick open; with one, that entry is edited.
    dialogs.push_back([](QDialog& dialog) {
        auto& pick = static_cast<CSelectScheduleDlg&>(dialog);
        pick.accept();
        EXPECT_EQ(pick.result(), int(QDialog::Rejected));
        pick.List()->SetSelected(1, true);
        pick.accept();
        return pick.result();
    });
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.SubjectEdit()->text(), "Dinner");
        dlg.SubjectEdit()->setText("Late dinner");
    }));
    Press(schedule, IDC_PC_EDIT);
    EXPECT_EQ(DayText(QDate(2004, 3, 19)), "(R)Daily walk\rLunch\rLate dinner");

    // PC New on a day with an entry of its own does nothing.
    Press(schedule, IDC_PC_NEW);
    EXPECT_EQ(dialogsRun, 5);
}

TEST_F(ScheduleForm, ACellWhoseEntryIsGoneOpensNew)
{
    AddSchedule("Dentist", QDate(2004, 3, 18));
    ShowPage(1);
    Press(schedule, IDC_MONTH);
    EXPECT_EQ(DayText(QDate(2004, 3, 18)), "Dentist");
    {
        // Freed behind the page's back: the cell still shows it.
        const QSignalBlocker quiet(doc.get());
        doc->m_pcSchedules.clear();
    }
    EXPECT_EQ(DayText(QDate(2004, 3, 18)), "Dentist");
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "New");
        EXPECT_EQ(dlg.SubjectEdit()->text(), "");
        dlg.SubjectEdit()->setText("Again");
    }));
    DoubleClickDay(QDate(2004, 3, 18));
    ASSERT_EQ(doc->m_pcSchedules.size(), 1u);
    EXPECT_EQ(DayText(QDate(2004, 3, 18)), "Again");

    // Rows of the lists resolve their records too.
    ClickRow(schedule->RecordList(IDC_PC_LIST), 0);
    {
        const QSignalBlocker quiet(doc.get());
        doc->m_pcSchedules.clear();
    }
    Press(schedule, IDC_LOCAL_SOURCE);
    ASSERT_EQ(schedule->RecordList(IDC_PC_LIST)->GetItemCount(), 1);
    schedule->RecordList(IDC_PC_LIST)->SetSelected(0, true);
    Press(schedule, IDC_PC_EDIT); // no dialog is scripted: none may open
    Press(schedule, IDC_PC_DELETE);
    EXPECT_TRUE(doc->m_pcSchedules.empty());
}

TEST_F(ScheduleForm, ListsAreSortedAndNewEntriesComeFromTheDialog)
{
    ShowPage(1);
    AddSchedule("Late", QDate(2004, 5, 1));
    AddSchedule("Early", QDate(2004, 1, 1));
    EXPECT_THAT(Firsts(schedule->RecordList(IDC_PC_LIST)), ElementsAre("Early", "Late"));

    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        // A fresh entry: today at 12:00, no repeat, no alarm.
        EXPECT_EQ(dlg.DateEdit()->date(), QDate(2004, 3, 17));
        EXPECT_EQ(dlg.TimeEdit()->time(), QTime(12, 0));
        EXPECT_TRUE(dlg.RepeatButton(0)->isChecked());
        EXPECT_EQ(dlg.AlarmList()->currentText(), "No alarm");
        dlg.SubjectEdit()->setText("Middle");
        dlg.RepeatButton(2)->click();
        dlg.AlarmList()->setCurrentIndex(2);
    }));
    Press(schedule, IDC_PC_NEW);
    EXPECT_THAT(Firsts(schedule->RecordList(IDC_PC_LIST)), ElementsAre("Early", "Middle", "Late"));
    EXPECT_EQ(schedule->RecordList(IDC_PC_LIST)->GetItemText(1, 4), "Weekly");
    EXPECT_EQ(schedule->RecordList(IDC_PC_LIST)->GetItemText(1, 5), "15 min before.");
    EXPECT_EQ(schedule->Static(IDC_SCHEDULE_TOTAL)->text(), "Total : 3");

    ClickRow(schedule->RecordList(IDC_PC_LIST), 1);
    const CDetailListCtrl* detail = schedule->DetailList(IDC_PC_DETAIL);
    EXPECT_EQ(detail->GetLabel(0), "Subject");
    EXPECT_EQ(detail->GetValue(1), "17/03/2004");
    EXPECT_EQ(detail->GetValue(2), "12:00");
    EXPECT_EQ(detail->GetValue(3), "Weekly");
    EXPECT_EQ(detail->GetValue(4), "15 min before.");

    // The divider stops short of x = 450 here.
    const QRect hit = schedule->DividerHitRect();
    QWidget* surface = schedule->GetFormSurface();
    QTest::mousePress(surface, Qt::LeftButton, {}, hit.center());
    QMouseEvent move(QEvent::MouseMove, QPointF(450, hit.center().y()), QPointF(), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(surface, &move);
    EXPECT_EQ(schedule->BarRect().left(), hit.center().x());
    QMouseEvent further(QEvent::MouseMove, QPointF(451, hit.center().y()), QPointF(), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(surface, &further);
    EXPECT_EQ(schedule->BarRect().left(), 451);
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(451, hit.center().y()));
}

TEST_F(ScheduleForm, ThePhoneTakesEntriesAndLinksSurviveEverythingButARead)
{
    // Linked entries from an earlier run, in the PC list and the PIM list.
    CScheduleEntry* linked = AddSchedule("Dentist", QDate(2004, 3, 20), 0, QTime(10, 0));
    linked->m_nIndex = 2;
    CScheduleEntry* pim = AddSchedule("Rent", QDate(2004, 3, 1), 3, QTime(8, 0), CMVsyncDoc::ListOutlook);
    pim->m_nIndex = 5;
    doc->SaveLocalData();
    {
        // A new start keeps the links: no phone list has been read.
        CMVsyncDoc restarted;
        restarted.SetDataDir(dataDir.path());
        restarted.OnNewDocument();
        CMainFrame again(restarted);
        again.InitialUpdateFrame();
        const auto* page = qobject_cast<CForm_Schedule*>(again.GetForm(1));
        ASSERT_NE(page, nullptr);
        ASSERT_EQ(restarted.m_pcSchedules.size(), 1u);
        EXPECT_EQ(restarted.m_pcSchedules[0]->m_nIndex, 2);
        EXPECT_EQ(restarted.m_outlookSchedules[0]->m_nIndex, 5);
        EXPECT_EQ(page->RecordList(IDC_PC_LIST)->GetItemImage(0), 1);
    }
    ShowPage(1);

    // A failed read: the box, an empty phone list, the links kept.
    phone.injectFault("AT+CXDR=?", phonesim::Fault::error(), 1);
    Press(schedule, IDC_MOBILE_READ);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to read data. - The phone refused the command"));
    EXPECT_EQ(schedule->RecordList(IDC_PHONE_LIST)->GetItemCount(), 0);
    EXPECT_EQ(linked->m_nIndex, 2);
    EXPECT_EQ(pim->m_nIndex, 5);
    EXPECT_EQ(schedule->RecordList(IDC_PC_LIST)->GetItemImage(0), 1);
    EXPECT_FALSE(IsOn(schedule, IDC_COPY_TO_MOBILE));
    ExpectIdle();

    // A CSV import replaces the PC list; the PIM entry keeps its link.
    const QString csv = dataDir.filePath("in.csv");
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Subject,Date and Time,Repeat,Alarm\r\nZoo,2004-03-25 10:00:00,No repeat,No alarm\r\n");
    file.close();
    ui.rec.fileAnswers.push_back(csv);
    frame->FindAction(ID_LOAD_CSV)->trigger();
    EXPECT_THAT(Firsts(schedule->RecordList(IDC_PC_LIST)), ElementsAre("Zoo"));
    EXPECT_EQ(pim->m_nIndex, 5);

    // A read: ">>" writes the selected entry and links it.
    ui.rec.boxes.clear();
    Press(schedule, IDC_MOBILE_READ);
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_THAT(Firsts(schedule->RecordList(IDC_PHONE_LIST)), ElementsAre("Rent", "Dentist"));
    EXPECT_EQ(schedule->Static(IDC_INFO)->text(), " 2/30");
    EXPECT_EQ(pim->m_nIndex, 5);
    phone.clearCommandLog();
    Select(schedule->RecordList(IDC_PC_LIST), {0});
    Press(schedule, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Sent("AT+CXDW=").size(), 1);
    CScheduleEntry* zoo = doc->m_pcSchedules[0].get();
    ASSERT_NE(zoo->m_nIndex, -1);
    EXPECT_EQ(phone.state().schedules.entries[zoo->m_nIndex].subject, "Zoo");
    EXPECT_EQ(schedule->RecordList(IDC_PC_LIST)->GetItemImage(0), 1);
    EXPECT_EQ(schedule->Static(IDC_INFO)->text(), " 3/30");
    ExpectIdle();

    // The phone lost the rent: a read drops that link, and only that one.
    phone.state().schedules.entries.erase(5);
    Press(schedule, IDC_MOBILE_READ);
    EXPECT_EQ(pim->m_nIndex, -1);
    EXPECT_NE(zoo->m_nIndex, -1);
}

TEST_F(ScheduleForm, MobileCommandsEditAndDeleteOnThePhone)
{
    ShowPage(1);
    Press(schedule, IDC_MOBILE_READ);
    CRecordListCtrl* phoneList = schedule->RecordList(IDC_PHONE_LIST);
    ASSERT_THAT(Firsts(phoneList), ElementsAre("Rent", "Dentist"));

    // A refused write changes nothing.
    ClickRow(phoneList, 1);
    phone.injectFault("AT+CXDW=*", phonesim::Fault::cmeError(20), 1);
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) { dlg.SubjectEdit()->setText("Surgeon"); }));
    Press(schedule, IDC_MOBILE_EDIT);
    EXPECT_THAT(Boxes(), ElementsAre("Failed to write data. - Memory is full"));
    EXPECT_EQ(doc->m_phoneSchedules[1]->m_strSubject, "Dentist");
    EXPECT_EQ(phone.state().schedules.entries[2].subject, "Dentist");
    ExpectIdle();

    // Taken: the phone and the row follow.
    ClickRow(phoneList, 1);
    dialogs.push_back(Fill<CScheduleDlg>([](CScheduleDlg& dlg) { dlg.SubjectEdit()->setText("Surgeon"); }));
    Press(schedule, IDC_MOBILE_EDIT);
    EXPECT_EQ(phone.state().schedules.entries[2].subject, "Surgeon");
    EXPECT_THAT(Firsts(phoneList), ElementsAre("Rent", "Surgeon"));

    // Without a selection (the button is off then) Delete only clears the info text; with
    // one, the last row goes first.
    ui.rec.boxes.clear();
    Select(phoneList, {});
    schedule->OnMobileDelete();
    EXPECT_EQ(schedule->Static(IDC_INFO)->text(), "");
    phone.clearCommandLog();
    Select(phoneList, {0, 1});
    Press(schedule, IDC_MOBILE_DELETE);
    EXPECT_THAT(Sent("AT+CXDW="), ElementsAre("AT+CXDW=2", "AT+CXDW=5"));
    EXPECT_EQ(phoneList->GetItemCount(), 0);
    EXPECT_TRUE(phone.state().schedules.entries.empty());
    ExpectIdle();
}

TEST(ScheduleDialog, SubjectRuleDateRangeAndSecondsZero)
{
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    g_nScheduleTextLen = 30;
    CScheduleEntry entry;
    entry.m_strSubject = QString(30, u'a');
    entry.m_dtStart = COleDateTime(2004, 3, 7, 9, 5, 42);
    entry.m_nRepeat = 3;
    entry.m_nAlarm = 4;
    CScheduleDlg dlg(entry, CScheduleDlg::ModeEdit);
    dlg.show();
    CLimitedLineEdit* subject = dlg.SubjectEdit();
    EXPECT_EQ(subject->GetLimitText(), 30);
    EXPECT_TRUE(dlg.RepeatButton(3)->isChecked());
    EXPECT_EQ(dlg.AlarmList()->currentText(), "1 hour before");
    EXPECT_EQ(dlg.AlarmList()->itemText(2), "15 min.before ");

    // Thirty characters: nothing more goes in, whatever they are.
    subject->setFocus();
    subject->end(false);
    uitest::Type(subject, "b");
    EXPECT_EQ(subject->text(), QString(30, u'a'));
    // One less: the limit is 60 bytes again until the text reaches 30 units.
    QTest::keyClick(subject, Qt::Key_Backspace);
    EXPECT_EQ(subject->GetLimitText(), 60);
    uitest::Type(subject, QStringLiteral("日本"));
    EXPECT_EQ(subject->text(), QString(29, u'a') + QStringLiteral("日"));
    EXPECT_EQ(subject->GetLimitText(), 2);

    // The picker keeps to 2000-2099.
    EXPECT_EQ(dlg.DateEdit()->minimumDate(), QDate(2000, 1, 1));
    EXPECT_EQ(dlg.DateEdit()->maximumDate(), QDate(2099, 12, 31));
    dlg.DateEdit()->setDate(QDate(1999, 12, 31));
    EXPECT_GE(dlg.DateEdit()->date(), QDate(2000, 1, 1));
    dlg.DateEdit()->setDate(QDate(2100, 1, 1));
    EXPECT_LE(dlg.DateEdit()->date(), QDate(2099, 12, 31));
    dlg.DateEdit()->setDate(QDate(2099, 12, 31));

    dlg.RepeatButton(4)->click();
    dlg.accept();
    EXPECT_EQ(entry.m_dtStart.ToQDateTime(), QDateTime(QDate(2099, 12, 31), QTime(9, 5, 0)));
    EXPECT_EQ(entry.m_nRepeat, 4);
    EXPECT_EQ(entry.m_nAlarm, 4);

    // Cancel leaves the entry alone; an empty subject is accepted.
    CScheduleDlg again(entry, CScheduleDlg::ModeEdit);
    again.SubjectEdit()->setText("");
    again.reject();
    EXPECT_EQ(entry.m_strSubject, QString(29, u'a') + QStringLiteral("日"));
    again.accept();
    EXPECT_EQ(entry.m_strSubject, "");
}

} // namespace
