#include "ui2/schedule_dlg.h"

#include "controls/edit_limit.h"
#include "controls/limited_line_edit.h"
#include "platform/string_table.h"
#include "ui2/dialog_parts.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>

namespace dh2 {

namespace {

constexpr int kTextUnits = 28;
constexpr int kRepeatButtonIds[] = {1033, 1034, 1035, 1036, 1037};
const char* const kRepeatTexts[] = {"Once", "Daily", "Weekly", "Monthly", "Yearly"};
const char* const kAlarmTexts[] = {"NONE", "On Time", "Before 10 min", "Before 30 min", "Before 1 hour", "Before 1 day"};

} // namespace

int OrganizerTextLimit(const QString& text)
{
    const qsizetype units = text.size() + text.count(u'\n');
    return units < kTextUnits ? kTextUnits : editlimit::TextWidth(text, true);
}

CScheduleDlg::CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent)
    : QDialog(parent), m_entry(entry), m_nRepeat(entry.m_nRepeat)
{
    setObjectName(QStringLiteral("CScheduleDlg"));
    setWindowTitle(EditDialogTitle(mode));
    auto* form = new QFormLayout(this);

    const QString subject = QStringLiteral("Subject :");
    m_pSubject = new CLimitedLineEdit;
    NameControl(m_pSubject, QStringLiteral("subject"), subject);
    m_pSubject->LimitText(kTextUnits);
    form->addRow(subject, m_pSubject);

    const QString date = QStringLiteral("Date :");
    m_pDate = new QDateEdit;
    NameControl(m_pDate, QStringLiteral("date"), date);
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(QStringLiteral("yy-MM-dd"));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(m_pDate);
    dateRow->addWidget(new QLabel(QStringLiteral("YY-MM-DD")));
    form->addRow(date, dateRow);

    const QString time = QStringLiteral("Time :");
    m_pTime = new QTimeEdit;
    NameControl(m_pTime, QStringLiteral("time"), time);
    m_pTime->setDisplayFormat(QStringLiteral("HH:mm"));
    form->addRow(time, m_pTime);

    m_pRepeat = new QButtonGroup(this);
    auto* repeats = new QHBoxLayout;
    for (int repeat = 0; repeat < int(std::size(kRepeatTexts)); ++repeat) {
        const QString text = QString::fromLatin1(kRepeatTexts[repeat]);
        auto* button = new QRadioButton(text);
        NameControl(button, QStringLiteral("repeat%1").arg(repeat), text);
        m_pRepeat->addButton(button, kRepeatButtonIds[repeat]);
        repeats->addWidget(button);
    }
    form->addRow(QStringLiteral("Repeat :"), repeats);

    const QString alarm = QStringLiteral("Alarm :");
    m_pAlarm = new QComboBox;
    NameControl(m_pAlarm, QStringLiteral("alarm"), alarm);
    for (const char* text : kAlarmTexts)
        m_pAlarm->addItem(QString::fromLatin1(text));
    form->addRow(alarm, m_pAlarm);
    form->addRow(CreateDialogButtons(this));

    m_pSubject->setText(entry.m_strSubject);
    // A start without a usable date shows today.
    const QDate start = entry.m_dtStart.date();
    m_pDate->setDate(start.isValid() ? start : QDate::currentDate());
    m_pTime->setTime(start.isValid() ? entry.m_dtStart.time() : QTime(0, 0));
    if (QRadioButton* button = RepeatButton(m_nRepeat))
        button->setChecked(true);
    m_pAlarm->setCurrentIndex(entry.m_nAlarm >= 0 && entry.m_nAlarm < m_pAlarm->count() ? entry.m_nAlarm : -1);

    connect(m_pSubject, &QLineEdit::textChanged, this, &CScheduleDlg::OnChangeSubject);
    // The checked button is the repeat, however it came to be checked (mouse, keys, assistive tools).
    connect(m_pRepeat, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_nRepeat = id - kRepeatButtonIds[0];
    });
    OnChangeSubject();
}

QRadioButton* CScheduleDlg::RepeatButton(int repeat) const
{
    if (repeat < 0 || repeat >= int(std::size(kRepeatButtonIds)))
        return nullptr;
    return qobject_cast<QRadioButton*>(m_pRepeat->button(kRepeatButtonIds[repeat]));
}

void CScheduleDlg::OnChangeSubject()
{
    m_pSubject->LimitText(OrganizerTextLimit(m_pSubject->text()));
}

void CScheduleDlg::accept()
{
    m_entry.m_strSubject = m_pSubject->text();
    m_entry.m_nRepeat = m_nRepeat;
    const QDate date = m_pDate->date();
    const QTime time = m_pTime->time();
    m_entry.m_dtStart = COleDateTime(date.year(), date.month(), date.day(), time.hour(), time.minute(), 0);
    if (m_pAlarm->currentIndex() >= 0)
        m_entry.m_nAlarm = m_pAlarm->currentIndex();
    QDialog::accept();
}

} // namespace dh2
