#include "controls/data_pane_form.h"

#include "controls/detail_list_ctrl.h"
#include "controls/form_button.h"
#include "controls/image_button.h"
#include "controls/list_print_job.h"
#include "controls/record_list_ctrl.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QSignalBlocker>

CDataPaneForm::CDataPaneForm(const QSize& designSize, QWidget* parent) : CPaneFormView(designSize, parent) {}

CDataPaneForm::~CDataPaneForm() = default;

int CDataPaneForm::RunModal(QDialog& dialog) const
{
    return m_runModal ? m_runModal(dialog) : dialog.exec();
}

CFormButton* CDataPaneForm::FormButton(int id) const
{
    return qobject_cast<CFormButton*>(GetDlgItem(id));
}

CImageButton* CDataPaneForm::ImageButton(int id) const
{
    return qobject_cast<CImageButton*>(GetDlgItem(id));
}

CRecordListCtrl* CDataPaneForm::RecordList(int id) const
{
    return qobject_cast<CRecordListCtrl*>(GetDlgItem(id));
}

CDetailListCtrl* CDataPaneForm::DetailList(int id) const
{
    return qobject_cast<CDetailListCtrl*>(GetDlgItem(id));
}

QCheckBox* CDataPaneForm::CheckBox(int id) const
{
    return qobject_cast<QCheckBox*>(GetDlgItem(id));
}

QLabel* CDataPaneForm::Static(int id) const
{
    return qobject_cast<QLabel*>(GetDlgItem(id));
}

QGroupBox* CDataPaneForm::Caption(int id) const
{
    return qobject_cast<QGroupBox*>(GetDlgItem(id));
}

CFormButton* CDataPaneForm::AddFormButton(int id, const QString& text, const QString& name, const QString& pane,
                                          const QRect& rect)
{
    auto* button = new CFormButton;
    button->SetText(text);
    NameControl(button, name, text, pane);
    AddDlgItem(id, button, rect);
    return button;
}

CImageButton* CDataPaneForm::AddSelector(int id, const QString& text, const QString& name, const QRect& rect)
{
    auto* selector = new CImageButton(text);
    selector->SetCheckBoxMode(true);
    selector->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, 0xFFFFFF, false);
    NameControl(selector, name, text);
    AddDlgItem(id, selector, rect);
    return selector;
}

CImageButton* CDataPaneForm::AddArrowButton(int id, const QString& text, const QString& name, const QRect& rect)
{
    auto* arrow = new CImageButton(text);
    NameControl(arrow, name, text);
    AddDlgItem(id, arrow, rect);
    return arrow;
}

QCheckBox* CDataPaneForm::AddCheckBox(int id, const QString& text, const QString& name, const QString& pane,
                                      const QRect& rect)
{
    auto* box = new QCheckBox(text);
    NameControl(box, name, text, pane);
    AddDlgItem(id, box, rect);
    return box;
}

void CDataPaneForm::SetCheck(QCheckBox* box, bool checked)
{
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

QGroupBox* CDataPaneForm::AddPaneCaption(int id, const QString& text, const QString& name, const QRect& rect)
{
    auto* caption = new QGroupBox(text);
    NameControl(caption, name, text);
    AddDlgItem(id, caption, rect);
    // The captions frame the panes; the mouse reaches the form through them (the divider).
    caption->setAttribute(Qt::WA_TransparentForMouseEvents);
    return caption;
}

CRecordListCtrl* CDataPaneForm::AddRecordList(int id, const QString& name, const QRect& rect)
{
    auto* list = new CRecordListCtrl;
    list->setObjectName(name);
    AddDlgItem(id, list, rect);
    OnRecordListAdded(list);
    return list;
}

int CDataPaneForm::ListKind(const CRecordListCtrl* list) const
{
    const auto it = m_listKinds.find(list);
    return it == m_listKinds.end() ? 0 : it->second;
}

bool CDataPaneForm::IsPcList(const CRecordListCtrl* list) const
{
    const int kind = ListKind(list);
    return kind == 1 || kind == 2;
}

void CDataPaneForm::EnableControl(int id, bool enable)
{
    if (QWidget* control = GetDlgItem(id))
        control->setEnabled(enable);
}

void CDataPaneForm::CheckSelector(int checked, std::initializer_list<int> others)
{
    ImageButton(checked)->SetCheck(1);
    for (const int id : others)
        ImageButton(id)->SetCheck(0);
}

void CDataPaneForm::CheckSelector(int checked, const std::vector<int>& pane)
{
    for (const int id : pane)
        ImageButton(id)->SetCheck(id == checked ? 1 : 0);
}

void CDataPaneForm::StyleSelectors(const std::vector<int>& ids)
{
    const COLORREF shadow = platform::toColorRef(palette().color(QPalette::Dark));
    for (const int id : ids) {
        CImageButton* selector = ImageButton(id);
        selector->SetBorderVisible(false);
        selector->SetStateColor(CImageButton::BTNST_COLOR_BK_IN, shadow);
        selector->SetStateColor(CImageButton::BTNST_COLOR_FG_IN, 0xFFFFFF);
    }
}

void CDataPaneForm::PrintList(CRecordListCtrl* list, const QString& title, const QString& footer)
{
    CListPrintJob job;
    job.SetTitle(title);
    job.SetFooter(footer);
    job.SetPageFormat(QStringLiteral("Page %d of %d"));
    job.SetList(list);
    if (m_pPrinter)
        job.SetPrinter(m_pPrinter);
    job.Print();
}

void CDataPaneForm::ScrollToRecord(CRecordListCtrl& list, quintptr id)
{
    for (int row = 0; row < list.GetItemCount(); ++row) {
        if (list.GetItemData(row) == id) {
            list.scrollToItem(list.topLevelItem(row));
            return;
        }
    }
}
