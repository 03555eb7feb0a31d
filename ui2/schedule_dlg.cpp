#include "ui2/schedule_dlg.h"

#include "controls/edit_limit.h"
#include "controls/limited_line_edit.h"
#include "platform/string_table.h"
#include "ui2/dialog_parts.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QTimeEdit>

namespace dh2 {

namespace {

constexpr int kTextUnits = 28;

CScheduleEditDlg::Texts scheduleTexts()
{
    CScheduleEditDlg::Texts texts;
    texts.subject = QStringLiteral("Subject :");
    texts.date = QStringLiteral("Date :");
    texts.time = QStringLiteral("Time :");
    texts.repeat = QStringLiteral("Repeat :");
    texts.alarm = QStringLiteral("Alarm :");
    texts.repeats = {QStringLiteral("Once"), QStringLiteral("Daily"), QStringLiteral("Weekly"), QStringLiteral("Monthly"),
                     QStringLiteral("Yearly")};
    texts.alarms = {QStringLiteral("NONE"),          QStringLiteral("On Time"),        QStringLiteral("Before 10 min"),
                    QStringLiteral("Before 30 min"), QStringLiteral("Before 1 hour"), QStringLiteral("Before 1 day")};
    texts.dateFormat = QStringLiteral("yy-MM-dd");
    texts.dateHint = QStringLiteral("YY-MM-DD");
    return texts;
}

} // namespace

int OrganizerTextLimit(const QString& text)
{
    const qsizetype units = text.size() + text.count(u'\n');
    return units < kTextUnits ? kTextUnits : editlimit::TextWidth(text, true);
}

CScheduleDlg::CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent)
    : CScheduleEditDlg(scheduleTexts(), parent), m_entry(entry)
{
    setWindowTitle(EditDialogTitle(mode));
    SubjectEdit()->LimitText(kTextUnits);
    Form()->addRow(CreateDialogButtons(this));

    // A start without a usable date shows today.
    const QDate start = entry.m_dtStart.date();
    ShowFields(entry.m_strSubject, start.isValid() ? start : QDate::currentDate(),
               start.isValid() ? entry.m_dtStart.time() : QTime(0, 0), entry.m_nRepeat, entry.m_nAlarm);
    connect(SubjectEdit(), &QLineEdit::textChanged, this, &CScheduleDlg::OnChangeSubject);
    OnChangeSubject();
}

void CScheduleDlg::OnChangeSubject()
{
    SubjectEdit()->LimitText(OrganizerTextLimit(SubjectEdit()->text()));
}

void CScheduleDlg::accept()
{
    m_entry.m_strSubject = SubjectEdit()->text();
    m_entry.m_nRepeat = GetRepeat();
    const QDate date = DateEdit()->date();
    const QTime time = TimeEdit()->time();
    m_entry.m_dtStart = COleDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), 0);
    if (AlarmList()->currentIndex() >= 0)
        m_entry.m_nAlarm = AlarmList()->currentIndex();
    QDialog::accept();
}

} // namespace dh2
