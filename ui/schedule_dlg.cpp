#include "ui/schedule_dlg.h"

#include "controls/limited_line_edit.h"
#include "controls/record_list_ctrl.h"
#include "document/mvsync_doc.h"
#include "platform/string_table.h"
#include "ui/dialog_parts.h"
#include "ui/entry_rules.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace dh1 {

namespace {

// The alarm texts as the dialog template lists them, for the alarm values 0 to 5.
constexpr int kAlarmTexts[] = {63028, 63029, 64169, 64170, 63031, 63032};
// "No Repeat", "Daily", "Weekly", "Monthly", "Yearly".
constexpr int kRepeatTexts[] = {64167, 63024, 63025, 63026, 63027};

CScheduleEditDlg::Texts scheduleTexts()
{
    using platform::LoadString;
    CScheduleEditDlg::Texts texts;
    texts.subject = LoadString(64163);
    texts.date = LoadString(64164);
    texts.time = LoadString(64165);
    texts.repeat = LoadString(64166);
    texts.alarm = LoadString(64168);
    for (const int id : kRepeatTexts)
        texts.repeats << LoadString(id);
    for (const int id : kAlarmTexts)
        texts.alarms << LoadString(id);
    texts.dateFormat = QStringLiteral("dd/MM/yyyy");
    return texts;
}

} // namespace

CScheduleDlg::CScheduleDlg(CScheduleEntry& entry, int mode, QWidget* parent)
    : CScheduleEditDlg(scheduleTexts(), parent), m_entry(entry)
{
    setWindowTitle(EditDialogTitle(mode));
    SubjectEdit()->LimitText(CMVsyncDoc::Capacities().m_nScheduleTextLen);
    DateEdit()->setDateRange(entryrules::FirstScheduleDate(), entryrules::LastScheduleDate());
    Form()->addRow(CreateDialogButtons(this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel));

    // A start without a usable date shows the first day the picker allows.
    ShowFields(entry.m_strSubject,
               entry.m_dtStart.date().isValid() ? entry.m_dtStart.date() : entryrules::FirstScheduleDate(),
               entry.m_dtStart.time().isValid() ? entry.m_dtStart.time() : QTime(0, 0), entry.m_nRepeat, entry.m_nAlarm);
    connect(SubjectEdit(), &QLineEdit::textChanged, this, &CScheduleDlg::OnChangeSubject);
}

void CScheduleDlg::OnChangeSubject()
{
    SubjectEdit()->LimitText(entryrules::UnitLimit(SubjectEdit()->text(), entryrules::kSubjectUnits, entryrules::kSubjectWide));
}

void CScheduleDlg::accept()
{
    m_entry.m_strSubject = SubjectEdit()->text();
    m_entry.m_nRepeat = GetRepeat();
    m_entry.m_dtStart = entryrules::ComposeStart(DateEdit()->date(), TimeEdit()->time());
    m_entry.m_nAlarm = AlarmList()->currentIndex();
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

} // namespace dh1
