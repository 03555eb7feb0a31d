#include "ui/phone_list_form.h"

#include "controls/image_button.h"
#include "platform/string_table.h"
#include "ui/resource.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace dh1 {

using namespace ids;

CPhoneListForm::CPhoneListForm(CMVsyncDoc& doc, const Layout& layout, const PhoneCommands& commands, QWidget* parent)
    : CDataForm(doc, layout, parent), m_commands(commands)
{
    AddMobileList(IDC_PHONE_LIST, CMVsyncDoc::ListPhone, QStringLiteral("phoneList"), platform::LoadString(63034));
}

CPhoneListForm::~CPhoneListForm() = default;

CRecordListCtrl* CPhoneListForm::ShownMobileList() const
{
    return RecordList(IDC_PHONE_LIST);
}

CRecordListCtrl* CPhoneListForm::ListOf(int kind) const
{
    switch (kind) {
    case CMVsyncDoc::ListPc: return RecordList(IDC_PC_LIST);
    case CMVsyncDoc::ListOutlook: return RecordList(IDC_OUTLOOK_LIST);
    case CMVsyncDoc::ListPhone: return RecordList(IDC_PHONE_LIST);
    default: return nullptr;
    }
}

void CPhoneListForm::ShowMobileSource()
{
    QGroupBox* caption = Caption(IDC_MOBILE_CAPTION);
    caption->setTitle(platform::LoadString(63034));
    caption->setAccessibleName(caption->title());
    ApplySelectAll(ShownMobileList(), CheckBox(m_layout.mobileSelectAll), false);
    DetailList(IDC_MOBILE_DETAIL)->SetRows(DetailRows(nullptr));
    RefreshSelectionState();
}

void CPhoneListForm::OnUpdate()
{
    for (const int kind : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook, CMVsyncDoc::ListPhone})
        RefreshList(kind);
}

void CPhoneListForm::RefreshList(int kind)
{
    if (!ListOf(kind))
        return;
    BeforeRefresh(kind);
    FillRows(kind);
    const bool phone = kind == CMVsyncDoc::ListPhone;
    // Only a list read from the phone says which links are gone: before a read, or after a
    // failed one, the PC and PIM entries keep theirs.
    if (phone && m_bPhoneRead)
        DropStaleLinks();
    AfterRefresh(!phone);
    AfterListRefreshed(kind);
}

void CPhoneListForm::RefreshAfterPhone()
{
    for (const int kind : {CMVsyncDoc::ListPhone, CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook})
        RefreshList(kind);
}

void CPhoneListForm::UpdateMobileTotal()
{
    QLabel* info = Static(IDC_INFO);
    info->setText(QStringLiteral(" %1/%2").arg(ShownMobileList()->GetItemCount()).arg(PhoneCapacity()));
    info->setAccessibleName(info->text());
}

void CPhoneListForm::EnableAfterRead(bool ok)
{
    EnableControl(IDC_COPY_TO_MOBILE, ok && CanCopyToMobile());
    for (const int id : {int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_NEW), int(IDC_MOBILE_EDIT),
                         int(IDC_MOBILE_DELETE)})
        EnableControl(id, ok);
}

void CPhoneListForm::OnMobileRead()
{
    if (m_commands.readSetsProgressRange)
        SetReadProgressRange();
    // Until the read succeeded the old list is no reference for the PC links: the document
    // empties it first, and the rows are refilled when it does.
    m_bPhoneRead = false;
    bool ok = false;
    {
        const auto busy = GetDocument().MarkBusy();
        ok = ReadPhone();
    }
    if (!ok)
        ShowError(62000);
    EnableAfterRead(ok);
    m_bPhoneRead = ok;
    RefreshAfterPhone();
}

void CPhoneListForm::OnCopyToMobile()
{
    CRecordListCtrl* source = CopySource();
    if (!source)
        return;
    const std::vector<quintptr> selected = SelectedIds(*source);
    if (selected.empty() && !m_commands.copyWithoutSelection)
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetTransferProgressRange(int(selected.size()));
    if (!ConnectOrSay(m_commands.clearInfoWhenIdle))
        return;
    // Before Disconnect: the box gives the reason of the refused write, which closing may replace.
    const CMVsyncDoc::PhoneTransfer result = CopyToPhone(ListKind(source), selected);
    if (result.refused)
        ShowWriteError(result.full);
    doc.Disconnect();
    RefreshAfterPhone();
}

void CPhoneListForm::OnMobileDelete()
{
    if (!ConfirmDeletion())
        return;
    const std::vector<quintptr> selected = SelectedIds(*ShownMobileList());
    if (selected.empty()) {
        if (m_commands.clearInfoWhenIdle)
            Static(IDC_INFO)->clear();
        return;
    }
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetTransferProgressRange(int(selected.size()));
    if (!ConnectPhone())
        return;
    if (DeleteFromPhone(selected).refused)
        ShowPhoneError(62001);
    doc.Disconnect();
    RefreshAfterPhone();
}

} // namespace dh1
