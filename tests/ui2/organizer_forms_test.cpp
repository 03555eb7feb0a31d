// The schedule and memo pages of Deskhand2 over the phone's combined list, driven in the real
// main window against the simulated phone: the 20-entry limit across both pages, the transfers
// and what a failed one leaves behind, the calendar's marks and click rules, and the rows of a
// list that is no longer read.
#include "organizer_fixture.h"

#include "controls/limited_text_edit.h"
#include "controls/ms_flex_grid.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFile>
#include <QTimeEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QTest>

namespace {

using namespace ui2test;
using windowtest::DialogScripts;

using OrganizerForms = OrganizerTest;

TEST_F(OrganizerForms, BothPagesShowTheFillOfTheCombinedList)
{
    FillPhone(1, 0, 3);
    FillPhone(2, 3, 2);
    ClickOn(schedules, IDC_MOBILE_READ);
    for (COrganizerForm* page : {static_cast<COrganizerForm*>(schedules), static_cast<COrganizerForm*>(memos)})
        EXPECT_EQ(TextOn(page, IDC_INFO), "Schedule:3 + Memo:2 = 5/20");
    EXPECT_EQ(ListOn(schedules, IDC_PHONE_LIST)->GetItemCount(), 3);
    EXPECT_EQ(ListOn(memos, IDC_PHONE_LIST)->GetItemCount(), 2);
    EXPECT_TRUE(EnabledOn(schedules, IDC_COPY_TO_MOBILE));
    EXPECT_TRUE(EnabledOn(memos, IDC_COPY_TO_PC));
    ExpectIdle();

    // Schedules but no memos: the memo page may still send, but has nothing to copy or delete.
    phoneState().organizer.clear();
    FillPhone(1, 0, 2);
    ClickOn(memos, IDC_MOBILE_READ);
    EXPECT_TRUE(EnabledOn(memos, IDC_COPY_TO_MOBILE));
    EXPECT_FALSE(EnabledOn(memos, IDC_COPY_TO_PC));
    EXPECT_FALSE(EnabledOn(memos, IDC_ORGANIZER_MOBILE_SELECT_ALL));
    EXPECT_FALSE(EnabledOn(memos, IDC_MOBILE_DELETE));
}

// The limit counts both kinds: with 20 live entries nothing is sent; with 18, two of three
// selected schedules go, the list is sent, then the box says why the third did not.
TEST_F(OrganizerForms, TwentyEntriesOfBothKindsFillTheList)
{
    FillPhone(1, 0, 15);
    FillPhone(2, 15, 5);
    ClickOn(memos, IDC_MOBILE_READ);
    AddPc(memos, "one more");
    Check(ListOn(memos, IDC_PC_LIST), {0});
    ClickOn(memos, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes(), QStringList{"Memory is full"});
    EXPECT_TRUE(Sent("AT+SSCW").isEmpty());
    EXPECT_EQ(TextOn(memos, IDC_INFO), "Schedule:15 + Memo:5 = 20/20");

    // Deleting a schedule on the schedule page makes room for the memo.
    Check(ListOn(schedules, IDC_PHONE_LIST), {0});
    ClickOn(schedules, IDC_MOBILE_DELETE);
    EXPECT_EQ(phoneState().organizer.size(), 19u);
    Check(ListOn(memos, IDC_PC_LIST), {0});
    ClickOn(memos, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(phoneState().organizer.size(), 20u);
    EXPECT_EQ(Boxes().size(), 1);
    EXPECT_EQ(ListOn(memos, IDC_PC_LIST)->GetItemImage(0), ListOn(memos, IDC_PHONE_LIST)->GetItemImage(0));

    phoneState().organizer.clear();
    FillPhone(1, 0, 10);
    FillPhone(2, 10, 8);
    ClickOn(schedules, IDC_MOBILE_READ);
    for (const char* subject : {"a", "b", "c"})
        AddPc(schedules, subject);
    Check(ListOn(schedules, IDC_PC_LIST), {0, 1, 2});
    const int writes = int(Sent("AT+SSCW").size());
    ClickOn(schedules, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(int(Sent("AT+SSCW").size()), writes + 1);
    EXPECT_EQ(phoneState().organizer.size(), 20u);
    EXPECT_EQ(Boxes().last(), "Memory is full");
    EXPECT_EQ(TextOn(schedules, IDC_INFO), "Schedule:12 + Memo:8 = 20/20");
    ExpectIdle();
}

// A ">>" the phone refuses leaves the list, the links and the other page's rows as they were.
TEST_F(OrganizerForms, AFailedWriteRestoresTheListTheLinksAndTheOtherPage)
{
    PutOnPhone(2, 0, "milk");
    PutOnPhone(1, 1, "Dentist");
    ClickOn(memos, IDC_MOBILE_READ);
    CScheduleEntry* linked = AddPc(schedules, "lunch");
    linked->m_nIndex = 2; // a stale link to what the new entry will take
    CScheduleEntry* source = AddPc(schedules, "call");
    Check(ListOn(schedules, IDC_PC_LIST), {1});

    phone.injectFault("AT+SSCW", phonesim::Fault::error(), 1);
    ClickOn(schedules, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes(), QStringList{"Failed to write data"});
    EXPECT_EQ(source->m_nIndex, -1);
    EXPECT_EQ(linked->m_nIndex, 2);
    EXPECT_EQ(Texts(ListOn(schedules, IDC_PHONE_LIST)), QStringList{"Dentist"});
    EXPECT_EQ(TextOn(memos, IDC_INFO), "Schedule:1 + Memo:1 = 2/20");

    // The memo page's row reaches the restored record: "<<" copies it.
    Check(ListOn(memos, IDC_PHONE_LIST), {0});
    ClickOn(memos, IDC_COPY_TO_PC);
    EXPECT_EQ(Texts(ListOn(memos, IDC_PC_LIST)), QStringList{"milk"});
    ExpectIdle();
}

// The list went out and the phone's answer never came: the box says what may have happened and
// to read the list again; the pages show no rows of a list nobody can be sure of, and keep no
// link to the place the write would have filled.
TEST_F(OrganizerForms, AnUnconfirmedWriteSaysSoAndLeavesTheListToBeReadAgain)
{
    PutOnPhone(2, 0, "milk");
    ClickOn(schedules, IDC_MOBILE_READ);
    CScheduleEntry* source = AddPc(schedules, "call");
    Check(ListOn(schedules, IDC_PC_LIST), {0});
    phone.injectFault("AT+SSCW", phonesim::Fault::lostThenClose(), 1);
    ClickOn(schedules, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(Boxes(), QStringList{"The phone did not confirm the list: it may hold the old list or the new one. Read the "
                                   "list from the phone again before you change it."});
    EXPECT_EQ(source->m_nIndex, -1);
    EXPECT_TRUE(Texts(ListOn(schedules, IDC_PHONE_LIST)).isEmpty());
    EXPECT_TRUE(Texts(ListOn(memos, IDC_PHONE_LIST)).isEmpty());
    EXPECT_FALSE(schedules->GetDlgItem(IDC_COPY_TO_MOBILE)->isEnabled());

    // Read again, the list is what the phone holds.
    ui.rec.boxes.clear();
    ClickOn(memos, IDC_MOBILE_READ);
    EXPECT_TRUE(Boxes().isEmpty());
    EXPECT_EQ(Texts(ListOn(schedules, IDC_PHONE_LIST)), QStringList{"call"});
    ExpectIdle();
}

// After a failed read the list is unread: no page keeps rows of it, and "<<" and Delete find
// nothing to act on.
TEST_F(OrganizerForms, AFailedReadEmptiesThePhoneRowsOfBothPages)
{
    PutOnPhone(1, 0, "Dentist");
    PutOnPhone(2, 1, "milk");
    ClickOn(schedules, IDC_MOBILE_READ);
    ASSERT_EQ(ListOn(memos, IDC_PHONE_LIST)->GetItemCount(), 1);
    Check(ListOn(memos, IDC_PHONE_LIST), {0});

    phone.injectFault("AT+SSCR", phonesim::Fault::error(), 1);
    ClickOn(schedules, IDC_MOBILE_READ);
    EXPECT_EQ(Boxes(), QStringList{"Failed to read Mobile."});
    EXPECT_EQ(ListOn(schedules, IDC_PHONE_LIST)->GetItemCount(), 0);
    EXPECT_EQ(ListOn(memos, IDC_PHONE_LIST)->GetItemCount(), 0);
    EXPECT_FALSE(EnabledOn(memos, IDC_COPY_TO_PC));
    EXPECT_FALSE(EnabledOn(schedules, IDC_COPY_TO_MOBILE));
    ClickOn(memos, IDC_COPY_TO_PC);
    EXPECT_EQ(ListOn(memos, IDC_PC_LIST)->GetItemCount(), 0);
}

// After a failed read of the combined list, on either page, neither page offers a transfer or
// shows a count, and even a ">>" that reaches the page sends nothing: the phone keeps all 19
// entries. A read that works again gives everything back.
TEST_F(OrganizerForms, AFailedReadLeavesNothingToSendFromOnEitherPage)
{
    FillPhone(1, 0, 4);
    FillPhone(2, 4, 15);
    AddPc(memos, "one memo");
    AddPc(schedules, "one schedule");
    const QString full = QStringLiteral("Schedule:4 + Memo:15 = 19/20");
    const auto pages = {static_cast<COrganizerForm*>(schedules), static_cast<COrganizerForm*>(memos)};
    for (COrganizerForm* failing : pages) {
        SCOPED_TRACE(failing->objectName().toStdString());
        ClickOn(schedules, IDC_MOBILE_READ);
        ClickOn(memos, IDC_MOBILE_READ);
        ASSERT_EQ(TextOn(memos, IDC_INFO), full);
        ASSERT_TRUE(EnabledOn(memos, IDC_COPY_TO_MOBILE));
        ASSERT_TRUE(EnabledOn(schedules, IDC_COPY_TO_MOBILE));

        phone.injectFault("AT+SSCR", phonesim::Fault::error(), 1);
        ui.rec.boxes.clear();
        ClickOn(failing, IDC_MOBILE_READ);
        EXPECT_EQ(Boxes(), QStringList{"Failed to read Mobile."});
        // The schedule page's list view, shown again, keeps its arrows off as well.
        schedules->ShowLocalList();
        for (COrganizerForm* page : pages) {
            for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), int(IDC_ORGANIZER_MOBILE_SELECT_ALL),
                                 int(IDC_MOBILE_DELETE)})
                EXPECT_FALSE(EnabledOn(page, id)) << page->objectName().toStdString() << ' ' << id;
            EXPECT_EQ(TextOn(page, IDC_INFO), QString()) << page->objectName().toStdString();
        }

        // ">>" reaching the pages anyway: nothing is sent and the status shows no count.
        const qsizetype writes = Sent("AT+SSCW").size();
        for (COrganizerForm* page : pages) {
            Check(ListOn(page, IDC_PC_LIST), {0});
            page->OnCopyToMobile();
            EXPECT_EQ(TextOn(page, IDC_INFO), QString()) << page->objectName().toStdString();
        }
        EXPECT_EQ(Sent("AT+SSCW").size(), writes);
        EXPECT_EQ(phoneState().organizer.size(), 19u);
        EXPECT_EQ(doc->m_arPcMemos[0]->m_nIndex, -1);
        ExpectIdle();
    }

    // Read again: the count and the arrows are back, and ">>" adds the memo to the 19.
    ClickOn(memos, IDC_MOBILE_READ);
    EXPECT_EQ(TextOn(schedules, IDC_INFO), full);
    ASSERT_TRUE(EnabledOn(memos, IDC_COPY_TO_MOBILE));
    Check(ListOn(memos, IDC_PC_LIST), {0});
    ClickOn(memos, IDC_COPY_TO_MOBILE);
    EXPECT_EQ(phoneState().organizer.size(), 20u);
    EXPECT_EQ(TextOn(memos, IDC_INFO), "Schedule:4 + Memo:16 = 20/20");
}

// "<<" onto the PIM-side entry linked to a phone entry updates it and marks it changed, so that
// an export that cannot reach the PIM now still sends the change the next time.
TEST_F(OrganizerForms, CopyOntoALinkedPimEntryMarksItChanged)
{
    PutOnPhone(1, 0, "Dentist at ten");
    ClickOn(schedules, IDC_MOBILE_READ);
    QFile blocker(dataDir.filePath("no-store"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    qputenv("DESKHAND_PIM_DIR", blocker.fileName().toLocal8Bit()); // a file: no store there
    schedules->ShowOutlookList();
    CScheduleEntry* pim = AddPc(schedules, "Dentist", {2004, 3, 7}, 0, CMVsyncDoc::ListOutlook);
    pim->m_nIndex = 0;
    pim->m_strEntryID = "item-1";
    pim->m_nState = CSyncRecord::StateUnchanged;
    Check(ListOn(schedules, IDC_PHONE_LIST), {0});
    ui.rec.boxes.clear();
    ClickOn(schedules, IDC_COPY_TO_PC);
    ASSERT_FALSE(Boxes().isEmpty());
    EXPECT_EQ(Boxes().last(), "Failed to find Outlook 2000");
    ASSERT_EQ(doc->m_arOutlookSchedules.size(), 1u);
    EXPECT_EQ(doc->m_arOutlookSchedules[0]->m_strSubject, "Dentist at ten");
    EXPECT_EQ(doc->m_arOutlookSchedules[0]->m_nState, CSyncRecord::StateChanged);
}

// A click on a Date title sorts the rows by their moment, across months, years and centuries
// and by the time within a day, whatever the user's locale makes of the shown dates. The memo
// page and the phone's rows sort the same way.
TEST_F(OrganizerForms, DateColumnsSortByTheMomentInEveryLocale)
{
    const struct {
        const char* subject;
        QDateTime start;
    } entries[] = {
        {"b", {{2026, 5, 4}, {12, 0}}},   {"d", {{2026, 12, 9}, {12, 0}}}, {"c", {{2026, 5, 12}, {12, 0}}},
        {"a2", {{2025, 5, 20}, {18, 0}}}, {"a1", {{2025, 5, 20}, {9, 0}}}, {"old", {{1999, 12, 31}, {23, 0}}},
    };
    const QStringList ascending{"old", "a1", "a2", "b", "c", "d"};
    for (const auto& e : entries) {
        for (COrganizerForm* page : {static_cast<COrganizerForm*>(schedules), static_cast<COrganizerForm*>(memos)}) {
            AddPc(page, e.subject, e.start.date())->m_dtStart = COleDateTime::FromQDateTime(e.start);
            PutOnPhone(page->RecordKind(), int(phoneState().organizer.size()), e.subject, e.start);
        }
    }
    ClickOn(schedules, IDC_MOBILE_READ);

    const QLocale before;
    for (const QLocale::Language language : {QLocale::English, QLocale::German, QLocale::Chinese}) {
        QLocale::setDefault(QLocale(language, language == QLocale::Chinese ? QLocale::China
                                                  : language == QLocale::German ? QLocale::Germany
                                                                                : QLocale::UnitedStates));
        doc->NotifyChanged(); // every page fills its rows again
        for (COrganizerForm* page : {static_cast<COrganizerForm*>(schedules), static_cast<COrganizerForm*>(memos)}) {
            frame->SelectTab(page == schedules ? 1 : 2);
            for (const int id : {int(IDC_PC_LIST), int(IDC_PHONE_LIST)}) {
                CRecordListCtrl* list = ListOn(page, id);
                const QString trace = QLocale().name() + u' ' + page->objectName() + u' ' + QString::number(id);
                SCOPED_TRACE(trace.toStdString());
                EXPECT_EQ(list->GetItemText(0, 2), QLocale().toString(QDate(2026, 5, 4), QLocale::ShortFormat));
                // The first click sorts descending, the next ascending.
                QHeaderView* header = list->header();
                const QPoint title(header->sectionViewportPosition(2) + 5, header->height() / 2);
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
                QStringList descending = ascending;
                std::reverse(descending.begin(), descending.end());
                EXPECT_EQ(Texts(list), descending);
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, title);
                EXPECT_EQ(Texts(list), ascending);
            }
        }
    }
    QLocale::setDefault(before);
}

TEST_F(OrganizerForms, TheCalendarMarksTheNextFourDatesThatExist)
{
    schedules->ShowMonthView();
    AddPc(schedules, "walk", {2004, 3, 30}, CScheduleEntry::RepeatDaily);
    AddPc(schedules, "rent", {2004, 1, 31}, CScheduleEntry::RepeatMonthly);
    AddPc(schedules, "leap", {2004, 2, 29}, CScheduleEntry::RepeatYearly);
    const struct {
        int year, month, day;
        QString text;
    } rows[] = {
        {2004, 3, 30, "walk"},
        {2004, 3, 31, "(R)walk\r(R)rent"},
        {2004, 4, 3, "(R)walk"},
        {2004, 4, 4, ""},
        {2004, 4, 30, ""},
        {2004, 5, 31, "(R)rent"},
        {2004, 2, 29, "leap"},
        {2008, 2, 29, "(R)leap"},
    };
    for (const auto& row : rows) {
        ShowDay(row.year, row.month, 1);
        EXPECT_EQ(DayText(row.day), row.text) << row.year << '-' << row.month << '-' << row.day;
    }
    // The arrows move a month and draw it.
    ShowDay(2004, 3, 1);
    ClickOn(schedules, IDC_NEXT_MONTH);
    EXPECT_EQ(TextOn(schedules, IDC_MONTH_LABEL), "2004 / 04");
    EXPECT_EQ(DayText(1), "(R)walk");
}

// A double click on a day opens a new entry when the day is empty or begins with a repeat mark,
// the day's entry when it has one, and the pick dialog when it has several.
TEST_F(OrganizerForms, DoubleClickOnADay)
{
    schedules->ShowMonthView();
    AddPc(schedules, "walk", {2004, 3, 1}, CScheduleEntry::RepeatDaily); // marks the 2nd to the 5th
    AddPc(schedules, "visit", {2004, 3, 3});
    AddPc(schedules, "call", {2004, 3, 6});
    AddPc(schedules, "lunch", {2004, 3, 7});
    AddPc(schedules, "dinner", {2004, 3, 7});

    // A repeat mark first: a new entry, even where the day has one of its own behind it.
    for (const int day : {2, 3}) {
        ShowDay(2004, 3, day);
        scripts.scripts.push_back(DialogScripts::Fill<CScheduleDlg>([day](CScheduleDlg& dlg) {
            EXPECT_EQ(dlg.windowTitle(), "New");
            EXPECT_EQ(dlg.DateEdit()->date(), QDate(2004, 3, day));
            EXPECT_EQ(dlg.TimeEdit()->time(), QTime(0, 0));
            dlg.SubjectEdit()->setText("more");
        }));
        schedules->OnDblClickGrid();
    }
    EXPECT_EQ(DayText(2), "(R)walk\rmore");
    EXPECT_EQ(DayText(3), "(R)walk\rvisit\rmore");

    ShowDay(2004, 3, 6); // its own entry
    scripts.scripts.push_back(DialogScripts::Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.windowTitle(), "Edit");
        EXPECT_EQ(dlg.SubjectEdit()->text(), "call");
        dlg.SubjectEdit()->setText("call back");
    }));
    schedules->OnDblClickGrid();
    EXPECT_EQ(DayText(6), "call back");

    ShowDay(2004, 3, 7); // two of its own
    scripts.scripts.push_back(DialogScripts::Fill<CSelectScheduleDlg>([](CSelectScheduleDlg& dlg) {
        ASSERT_EQ(dlg.List()->GetItemCount(), 2);
        dlg.List()->SetSelected(1, true);
    }));
    scripts.scripts.push_back(DialogScripts::Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        EXPECT_EQ(dlg.SubjectEdit()->text(), "dinner");
        dlg.SubjectEdit()->setText("supper");
    }));
    schedules->OnDblClickGrid();
    EXPECT_EQ(DayText(7), "lunch\rsupper");
    EXPECT_EQ(doc->m_arPcSchedules[4]->m_nState, CSyncRecord::StateChanged);
}

// The day grid shows nothing: New there makes an entry on the calendar's selected day at
// midnight, and Delete, which would reach entries the user cannot see, is off.
TEST_F(OrganizerForms, TheDayView)
{
    AddPc(schedules, "hidden", {2004, 3, 5});
    Check(ListOn(schedules, IDC_PC_LIST), {0});
    EXPECT_TRUE(EnabledOn(schedules, IDC_PC_DELETE));
    schedules->ShowMonthView();
    ShowDay(2004, 3, 9);
    ClickOn(schedules, IDC_DAY);
    EXPECT_TRUE(schedules->GetDayGrid()->isVisibleTo(schedules));
    EXPECT_FALSE(schedules->GetGrid()->isVisibleTo(schedules));
    EXPECT_EQ(schedules->Caption(IDC_PC_CAPTION)->title(), "Day");
    EXPECT_FALSE(EnabledOn(schedules, IDC_PC_DELETE));

    // An empty table: a fixed row and column and empty cells over the whole grid, not a bare
    // background with a stub of cells in its corner.
    CMSFlexGrid* day = schedules->GetDayGrid();
    EXPECT_EQ(day->GetFixedRows(), 1);
    EXPECT_EQ(day->GetFixedCols(), 1);
    for (long row = 0; row < day->GetRows(); ++row)
        for (long col = 0; col < day->GetCols(); ++col)
            EXPECT_EQ(day->GetTextMatrix(row, col), "");
    const QRect inside = day->viewport()->rect();
    for (const QPoint at : {inside.center(), inside.topRight(), inside.bottomLeft(), inside.bottomRight()})
        EXPECT_TRUE(day->indexAt(at).isValid()) << at.x() << "," << at.y() << " of " << inside.width() << " x " << inside.height();
    const QImage image = day->viewport()->grab().toImage();
    const QPoint middle = day->visualRect(day->indexAt(inside.center())).center();
    EXPECT_EQ(QColor(image.pixel(middle)), QColor(Qt::white));
    schedules->RefreshList(CMVsyncDoc::ListPc);
    Check(ListOn(schedules, IDC_PC_LIST), {0});
    EXPECT_FALSE(EnabledOn(schedules, IDC_PC_DELETE));

    scripts.scripts.push_back(DialogScripts::Fill<CScheduleDlg>([](CScheduleDlg& dlg) { dlg.SubjectEdit()->setText("new"); }));
    ClickOn(schedules, IDC_PC_NEW);
    ASSERT_EQ(doc->m_arPcSchedules.size(), 2u);
    EXPECT_EQ(doc->m_arPcSchedules[1]->m_dtStart, COleDateTime(2004, 3, 9, 0, 0, 0));
    EXPECT_EQ(doc->m_arPcSchedules[0]->m_nState, CSyncRecord::StateUnchanged);
}

// A memo and a schedule entry made on the PC pages reach the phone with ">>", come back with
// Read, and survive Exit and a new start.
TEST_F(OrganizerForms, EntriesMadeOnThePcReachThePhoneAndSurviveARestart)
{
    scripts.scripts.push_back(DialogScripts::Fill<CMemoDlg>([](CMemoDlg& dlg) { dlg.TextEdit()->setPlainText("milk"); }));
    ClickOn(memos, IDC_PC_NEW);
    scripts.scripts.push_back(DialogScripts::Fill<CScheduleDlg>([](CScheduleDlg& dlg) {
        dlg.SubjectEdit()->setText("Dentist");
        dlg.DateEdit()->setDate({2004, 3, 7});
        dlg.TimeEdit()->setTime({9, 30});
    }));
    ClickOn(schedules, IDC_PC_NEW);
    ClickOn(schedules, IDC_MOBILE_READ); // the phone's list, empty
    Check(ListOn(memos, IDC_PC_LIST), {0});
    ClickOn(memos, IDC_COPY_TO_MOBILE);
    Check(ListOn(schedules, IDC_PC_LIST), {0});
    ClickOn(schedules, IDC_COPY_TO_MOBILE);
    ASSERT_EQ(phoneState().organizer.size(), 2u);
    EXPECT_EQ(phoneState().organizer[0].text, "milk");
    EXPECT_EQ(phoneState().organizer[1].start, QDateTime({2004, 3, 7}, {9, 30}));
    EXPECT_TRUE(Boxes().isEmpty());

    Restart();
    EXPECT_EQ(Texts(ListOn(memos, IDC_PC_LIST)), QStringList{"milk"});
    EXPECT_EQ(Texts(ListOn(schedules, IDC_PC_LIST)), QStringList{"Dentist"});
    EXPECT_EQ(ListOn(schedules, IDC_PHONE_LIST)->GetItemCount(), 0); // phone lists start unread
    ClickOn(memos, IDC_MOBILE_READ);
    EXPECT_EQ(Texts(ListOn(memos, IDC_PHONE_LIST)), QStringList{"milk"});
    EXPECT_EQ(Texts(ListOn(schedules, IDC_PHONE_LIST)), QStringList{"Dentist"});
    // The PC entries are still linked to what the phone holds.
    EXPECT_EQ(ListOn(memos, IDC_PC_LIST)->GetItemImage(0), ListOn(memos, IDC_PHONE_LIST)->GetItemImage(0));
    EXPECT_EQ(doc->m_arPcSchedules[0]->m_nIndex, 1);
    ExpectIdle();
}

} // namespace
