// Pictures of Deskhand2's schedule page (each view), memo page, message page and their dialogs
// for reviewers, in build/screenshots/, and a printed schedule list beside them.
#include "organizer_fixture.h"

#include "controls/splitter_tab_wnd.h"
#include "ui2/form_sms.h"
#include "ui2/memo_dlg.h"
#include "ui2/sms_dlg.h"

#include <QFileInfo>
#include <QPrinter>

namespace {

using namespace ui2test;
using windowtest::SavePicture;

using OrganizerPictures = OrganizerTest;

TEST_F(OrganizerPictures, PagesAndDialogs)
{
    const QDate today = QDate::currentDate();
    PutOnPhone(1, 0, "Dentist", QDateTime(today, {9, 30}));
    PutOnPhone(1, 1, "Team meeting", QDateTime(today.addDays(2), {14, 0}));
    PutOnPhone(2, 2, "Buy milk and bread", QDateTime(today, {12, 0}));
    AddPc(schedules, "Gym", today.addDays(-3), CScheduleEntry::RepeatDaily);
    AddPc(schedules, "Rent", QDate(today.year(), today.month(), 1), CScheduleEntry::RepeatMonthly);
    AddPc(schedules, "Lunch with Ann", today.addDays(1));
    AddPc(memos, "Call the plumber", today);
    frame->resize(1000, 700);
    ClickOn(schedules, IDC_MOBILE_READ);

    frame->GetSplitter()->SelectView(1);
    ListOn(schedules, IDC_PC_LIST)->SetSelected(2, true);
    Q_EMIT ListOn(schedules, IDC_PC_LIST)->listClicked();
    Check(ListOn(schedules, IDC_PHONE_LIST), {0});
    SavePicture(*frame, "deskhand2_schedule");
    // Busy days for the calendar: three, four and five texts, and subjects longer than a cell.
    const auto thisMonth = [&](int day) { return QDate(today.year(), today.month(), day); };
    AddPc(schedules, "Quarterly planning with the whole department", thisMonth(17));
    for (const char* subject : {"Boiler check", "Parents' evening", "Pick up the bike", "Call Joe", "Choir"})
        AddPc(schedules, subject, thisMonth(24));
    AddPc(schedules, "Flight LH 4711 to Lisbon", thisMonth(22), CScheduleEntry::RepeatWeekly);
    AddPc(schedules, "Book club", thisMonth(22));
    schedules->ShowMonthView();
    SavePicture(*frame, "deskhand2_schedule_month");
    frame->resize(frame->minimumSize());
    SavePicture(*frame, "deskhand2_schedule_month_small");
    frame->resize(1000, 700);
    ClickOn(schedules, IDC_DAY);
    SavePicture(*frame, "deskhand2_schedule_day");
    schedules->ShowOutlookList();
    SavePicture(*frame, "deskhand2_schedule_outlook");
    schedules->ShowLocalList();

    frame->GetSplitter()->SelectView(2);
    SavePicture(*frame, "deskhand2_memo");

    CScheduleEntry entry = *doc->m_arPcSchedules[2];
    CScheduleDlg schedule(entry, CScheduleDlg::ModeEdit);
    SavePicture(schedule, "deskhand2_schedule_dialog");
    CScheduleEntry memo = *doc->m_arPcMemos[0];
    CMemoDlg memoDialog(memo, CMemoDlg::ModeEdit);
    SavePicture(memoDialog, "deskhand2_memo_dialog");
    CSMSDlg message;
    message.SetFields("0301234567", "See you at eight");
    SavePicture(message, "deskhand2_sms_dialog");
    CForm_SMS sms(*doc);
    sms.OnInitialUpdate();
    sms.resize(900, 600);
    SavePicture(sms, "deskhand2_sms_form");

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QDir(windowtest::PictureFolder()).filePath("deskhand2_schedule.pdf"));
    schedules->SetPrinter(&printer);
    schedules->OnFilePrint();
    schedules->SetPrinter(nullptr);
    EXPECT_GT(QFileInfo(printer.outputFileName()).size(), 0);
}

} // namespace
