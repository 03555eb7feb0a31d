// Pictures for reviewers in build/screenshots/: the schedule and memo pages, the calendar, the
// message form and every dialog of them.
#include "organizer_fixture.h"

#include "phonesim/sms_pdu.h"
#include "ui/form_sms.h"
#include "ui/memo_dlg.h"
#include "ui/schedule_dlg.h"
#include "ui/sms_dlg.h"

using namespace dh1;


namespace {

using namespace ids;
using uitest::OrganizerTest;

using OrganizerPictures = OrganizerTest;

TEST_F(OrganizerPictures, Screenshots)
{
    const auto save = &MainWindowTest::SavePicture;

    AddSchedule("Morning run", QDate(2004, 3, 1), 1, QTime(6, 30));
    AddSchedule("Choir practice", QDate(2004, 3, 2), 2, QTime(19, 0));
    AddSchedule("Rent", QDate(2004, 1, 31), 3, QTime(8, 0));
    AddSchedule("Anna's birthday", QDate(2003, 3, 25), 4, QTime(0, 0));
    AddSchedule("Dentist", QDate(2004, 3, 18), 0, QTime(10, 0));
    AddSchedule("Lunch with Bob", QDate(2004, 3, 19), 0, QTime(12, 30));
    AddSchedule("Theatre", QDate(2004, 3, 19), 0, QTime(20, 0));
    ShowPage(1);
    Press(schedule, IDC_MOBILE_READ);
    ClickRow(schedule->RecordList(IDC_PC_LIST), 4);
    ClickRow(schedule->RecordList(IDC_PHONE_LIST), 1);
    save(*frame, QStringLiteral("main_schedule_list"));
    // Busy days for the calendar: three, four and five texts, and subjects longer than a cell.
    AddSchedule("Quarterly planning with the whole department", QDate(2004, 3, 10), 0, QTime(9, 0));
    for (const char* subject : {"Boiler check", "Parents' evening", "Pick up the bike", "Call Joe"})
        AddSchedule(subject, QDate(2004, 3, 26), 0, QTime(15, 0));
    AddSchedule("Flight LH 4711 to Lisbon, terminal 2", QDate(2004, 3, 11), 0, QTime(7, 0));
    Press(schedule, IDC_MONTH);
    save(*frame, QStringLiteral("main_schedule_month"));
    // The smallest window the frame allows.
    frame->resize(frame->minimumSize());
    save(*frame, QStringLiteral("main_schedule_month_small"));
    frame->resize(1000, 700);

    AddMemo("Buy stamps\r\nand envelopes");
    AddMemo("Car service on Friday");
    ShowPage(2);
    Press(memo, IDC_MOBILE_READ);
    ClickRow(memo->RecordList(IDC_PC_LIST), 0);
    ClickRow(memo->RecordList(IDC_PHONE_LIST), 2);
    save(*frame, QStringLiteral("main_memo"));

    CScheduleEntry entry = *doc->m_pcSchedules[1];
    CScheduleDlg scheduleDlg(entry, CScheduleDlg::ModeEdit);
    save(scheduleDlg, QStringLiteral("dialog_schedule"));
    const std::vector<const CScheduleEntry*> sameDay = {doc->m_pcSchedules[5].get(), doc->m_pcSchedules[6].get()};
    CSelectScheduleDlg pick(sameDay);
    save(pick, QStringLiteral("dialog_select_schedule"));
    CMemoEntry memoEntry = *doc->m_pcMemos[0];
    CMemoDlg memoDlg(memoEntry, CMemoDlg::ModeEdit);
    save(memoDlg, QStringLiteral("dialog_memo"));
    CSMSDlg smsDlg(*doc);
    smsDlg.NumberEdit()->setText("+4917012345");
    smsDlg.TextEdit()->setPlainText("See you at the station at eight.");
    save(smsDlg, QStringLiteral("dialog_sms"));

    phonesim::StoredMessage stored;
    stored.alpha = QStringLiteral("Ann");
    stored.pdu = phonesim::MakeDeliverPdu(QStringLiteral("+4917012345"), QStringLiteral("Hello"),
                                          QDateTime(QDate(2004, 3, 7), QTime(9, 5)));
    phone.state().simMessages.entries[1] = stored;
    CForm_SMS sms(*doc);
    sms.OnInitialUpdate();
    sms.resize(640, 480);
    sms.OnRead();
    sms.List()->SetCheck(0, true);
    save(sms, QStringLiteral("form_sms"));

    // The schedule list printed to a file.
    ShowPage(1);
    PrintToPdf(*schedule, QStringLiteral("print_schedules"));
}

} // namespace
