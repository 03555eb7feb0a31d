#include "ui/schedule_dlg.h"

#include "controls/limited_line_edit.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"
#include "ui/entry_rules.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace {

// The alarm texts as the dialog template lists them, for the alarm values 0 to 5.
constexpr int kAlarmTexts[] = {63028, 63029, 64169, 64170, 63031, 63032};
// "No Repeat", "Daily", "Weekly", "Monthly", "Yearly".
constexpr int kRepeatTexts[] = {64167, 63024, 63025, 63026, 63027};
constexpr int kRepeatButtonIds[] = {1033, 1034, 1035, 1036, 1037};


} // namespace

CScheduleDlg::CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent)
    : QDialog(parent), m_entry(entry), m_nRepeat(entry.m_nRepeat)
{
    using platform::LoadString;
    setObjectName(QStringLiteral("CScheduleDlg"));
    setWindowTitle(EditDialogTitle(mode));
    auto* form = new QFormLayout(this);

    m_pSubject = NameControl(new CLimitedLineEdit, QStringLiteral("subject"), LoadString(64163));
    m_pSubject->LimitText(CMVsyncDoc::Capacities().m_nScheduleTextLen);
    form->addRow(LoadString(64163), m_pSubject);

    m_pDate = NameControl(new QDateEdit, QStringLiteral("date"), LoadString(64164));
    m_pDate->setCalendarPopup(true);
    m_pDate->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    m_pDate->setDateRange(entryrules::FirstScheduleDate(), entryrules::LastScheduleDate());
    form->addRow(LoadString(64164), m_pDate);

    m_pTime = NameControl(new QTimeEdit, QStringLiteral("time"), LoadString(64165));
    m_pTime->setDisplayFormat(QStringLiteral("HH:mm"));
    form->addRow(LoadString(64165), m_pTime);

    m_pRepeat = new QButtonGroup(this);
    auto* repeats = new QHBoxLayout;
    for (int repeat = 0; repeat < int(std::size(kRepeatTexts)); ++repeat) {
        const QString text = LoadString(kRepeatTexts[repeat]);
        auto* button = NameControl(new QRadioButton(text), QStringLiteral("repeat%1").arg(repeat), text);
        m_pRepeat->addButton(button, kRepeatButtonIds[repeat]);
        repeats->addWidget(button);
    }
    form->addRow(LoadString(64166), repeats);

    m_pAlarm = NameControl(new QComboBox, QStringLiteral("alarm"), LoadString(64168));
    for (const int id : kAlarmTexts)
        m_pAlarm->addItem(LoadString(id));
    form->addRow(LoadString(64168), m_pAlarm);
    form->addRow(CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));

    m_pSubject->setText(entry.m_strSubject);
    // A start without a usable date shows the first day the picker allows.
    m_pDate->setDate(entry.m_dtStart.date().isValid() ? entry.m_dtStart.date() : entryrules::FirstScheduleDate());
    m_pTime->setTime(entry.m_dtStart.time().isValid() ? entry.m_dtStart.time() : QTime(0, 0));
    if (QRadioButton* button = RepeatButton(m_nRepeat))
        button->setChecked(true);
    m_pAlarm->setCurrentIndex(entry.m_nAlarm >= 0 && entry.m_nAlarm < m_pAlarm->count() ? entry.m_nAlarm : -1);

    connect(m_pSubject, &QLineEdit::textChanged, this, &CScheduleDlg::OnChangeSubject);
    // The checked button is the repeat, however it came to be checked (mouse, keys, assistive tools).
    connect(m_pRepeat, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked)
            m_nRepeat = id - kRepeatButtonIds[0];
    });
}

QRadioButton* CScheduleDlg::RepeatButton(int repeat) const
{
    if (repeat < 0 || repeat >= int(std::size(kRepeatButtonIds)))
        return nullptr;
    return qobject_cast<QRadioButton*>(m_pRepeat->button(kRepeatButtonIds[repeat]));
}

void CScheduleDlg::OnChangeSubject()
{
    m_pSubject->LimitText(entryrules::UnitLimit(m_pSubject->text(), entryrules::kSubjectUnits, entryrules::kSubjectWide));
}

void CScheduleDlg::accept()
{
    m_entry.m_strSubject = m_pSubject->text();
    m_entry.m_nRepeat = m_nRepeat;
    m_entry.m_dtStart = entryrules::ComposeStart(m_pDate->date(), m_pTime->time());
    m_entry.m_nAlarm = m_pAlarm->currentIndex();
    QDialog::accept();
}

CSelectScheduleDlg::CSelectScheduleDlg(const std::vector<const CScheduleEntry*>& candidates, QWidget* parent)
    : QDialog(parent), m_pList(new CRecordListCtrl)
{
    setObjectName(QStringLiteral("CSelectScheduleDlg"));
    setWindowTitle(platform::LoadString(64171));
    m_pList->setObjectName(QStringLiteral("list"));
    m_pList->setAccessibleName(windowTitle());
    m_pList->SetColumns(platform::LoadString(61496), false);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    // Each row knows its candidate, also after a sort by a column.
    for (size_t i = 0; i < candidates.size(); ++i) {
        const int row = m_pList->AddRow({candidates[i] ? candidates[i]->m_strSubject : QString()}, -1);
        m_pList->SetItemData(row, quintptr(i));
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList);
    layout->addWidget(CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));
    resize(360, 260);
}

void CSelectScheduleDlg::accept()
{
    const int row = m_pList->GetSelectedIndex();
    if (row < 0)
        return;
    m_nChosen = int(m_pList->GetItemData(row));
    QDialog::accept();
}
