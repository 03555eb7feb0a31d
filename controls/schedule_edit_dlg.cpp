#include "controls/schedule_edit_dlg.h"

#include "controls/control_names.h"
#include "controls/dialog_parts.h"
#include "controls/limited_line_edit.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QTimeEdit>

namespace {

constexpr int kRepeatButtonIds[] = {1033, 1034, 1035, 1036, 1037};

} // namespace

CScheduleEditDlg::CScheduleEditDlg(const Texts& texts, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("CScheduleDlg"));
    KeepFixedSize(*this);
    m_pForm = new QFormLayout(this);

    m_pSubject = NameControl(new CLimitedLineEdit, QStringLiteral("subject"), texts.subject);
    m_pForm->addRow(texts.subject, m_pSubject);

    m_pDate = NameControl(new QDateEdit, QStringLiteral("date"), texts.date);
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(texts.dateFormat);
    if (texts.dateHint.isEmpty()) {
        m_pForm->addRow(texts.date, m_pDate);
    } else {
        auto* dateRow = new QHBoxLayout;
        dateRow->addWidget(m_pDate);
        dateRow->addWidget(new QLabel(texts.dateHint));
        m_pForm->addRow(texts.date, dateRow);
    }

    m_pTime = NameControl(new QTimeEdit, QStringLiteral("time"), texts.time);
    m_pTime->setDisplayFormat(QStringLiteral("HH:mm"));
    m_pForm->addRow(texts.time, m_pTime);

    m_pRepeat = new QButtonGroup(this);
    auto* repeats = new QHBoxLayout;
    for (int repeat = 0; repeat < int(std::size(kRepeatButtonIds)) && repeat < texts.repeats.size(); ++repeat) {
        const QString& text = texts.repeats[repeat];
        auto* button = NameControl(new QRadioButton(text), QStringLiteral("repeat%1").arg(repeat), text);
        m_pRepeat->addButton(button, kRepeatButtonIds[repeat]);
        repeats->addWidget(button);
    }
    m_pForm->addRow(texts.repeat, repeats);

    m_pAlarm = NameControl(new QComboBox, QStringLiteral("alarm"), texts.alarm);
    m_pAlarm->addItems(texts.alarms);
    m_pForm->addRow(texts.alarm, m_pAlarm);

    // The checked button is the repeat, however it came to be checked (mouse, keys, assistive tools).
    connect(m_pRepeat, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_nRepeat = id - kRepeatButtonIds[0];
    });
}

CScheduleEditDlg::~CScheduleEditDlg() = default;

QRadioButton* CScheduleEditDlg::RepeatButton(int repeat) const
{
    if (repeat < 0 || repeat >= int(std::size(kRepeatButtonIds)))
        return nullptr;
    return qobject_cast<QRadioButton*>(m_pRepeat->button(kRepeatButtonIds[repeat]));
}

void CScheduleEditDlg::ShowFields(const QString& subject, const QDate& date, const QTime& time, int repeat, int alarm)
{
    m_pSubject->setText(subject);
    m_pDate->setDate(date);
    m_pTime->setTime(time);
    m_nRepeat = repeat;
    if (QRadioButton* button = RepeatButton(repeat))
        button->setChecked(true);
    m_pAlarm->setCurrentIndex(alarm >= 0 && alarm < m_pAlarm->count() ? alarm : -1);
}
