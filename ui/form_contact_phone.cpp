// The phonebook form's commands that talk to the phone.
#include "ui/form_contact.h"

#include "ui/resource.h"

#include <QLabel>

namespace dh1 {

using namespace ids;

void CForm_Contact::OnMobileRead()
{
    EnableControl(IDC_MOBILE_EDIT, false);
    EnableControl(IDC_MOBILE_DELETE, false);
    SetReadProgressRange();
    const bool sim = MobileKind() == CMVsyncDoc::ListSim;
    // Until the read succeeded the old book is no reference for the PC links: the document
    // empties its list first, and the form refills its rows when it does.
    (sim ? m_bSimRead : m_bHandsetRead) = false;
    bool ok = false;
    {
        const auto busy = GetDocument().MarkBusy();
        ok = sim ? GetDocument().ReadSimBook() : GetDocument().ReadHandsetBook();
    }
    if (!ok)
        ShowError(62000);
    for (const int id : {int(IDC_COPY_TO_MOBILE), int(IDC_COPY_TO_PC), m_layout.mobileSelectAll, int(IDC_MOBILE_NEW)})
        EnableControl(id, ok);
    if (sim) {
        m_bSimRead = ok;
        ShowSimList();
        RefreshList(CMVsyncDoc::ListSim);
    } else {
        m_bHandsetRead = ok;
        ShowMobileList();
        RefreshList(CMVsyncDoc::ListHandset);
    }
    // The PC rows' link images follow the new phone list.
    RefreshList(CMVsyncDoc::ListPc);
    RefreshList(CMVsyncDoc::ListOutlook);
}

void CForm_Contact::OnCopyToMobile()
{
    const int book = MobileKind();
    const std::vector<quintptr> selected = SelectedIds(*ShownPcList());
    if (selected.empty())
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetTransferProgressRange(int(selected.size()));
    // A failed connect to the SIM clears the info text as well.
    if (!ConnectOrSay(book == CMVsyncDoc::ListSim))
        return;
    // Before Disconnect: the box gives the reason of the refused write, which closing may replace.
    const CMVsyncDoc::PhoneTransfer result = doc.CopyToPhoneBook(book, PcKind(), selected);
    if (result.refused)
        ShowWriteError(result.full);
    doc.Disconnect();
    RefreshAfterPhone();
}

bool CForm_Contact::CanWriteNew() const
{
    return MobileKind() == CMVsyncDoc::ListSim ? m_bSimRead : m_bHandsetRead;
}

int CForm_Contact::WriteToPhone(const CSyncRecord& record)
{
    const auto& entry = static_cast<const CPhoneEntry&>(record);
    return MobileKind() == CMVsyncDoc::ListSim ? GetDocument().WriteSimContact(entry)
                                               : GetDocument().WriteHandsetContact(entry);
}

int CForm_Contact::UpdateOnPhone(CSyncRecord& record, const CSyncRecord& edited)
{
    auto& entry = static_cast<CPhoneEntry&>(record);
    const auto& copy = static_cast<const CPhoneEntry&>(edited);
    return MobileKind() == CMVsyncDoc::ListSim ? GetDocument().UpdateSimContact(entry, copy)
                                               : GetDocument().UpdateHandsetContact(entry, copy);
}

bool CForm_Contact::IsPhoneFull() const
{
    return MobileKind() == CMVsyncDoc::ListSim ? GetDocument().IsSimBookFull() : GetDocument().IsHandsetBookFull();
}

void CForm_Contact::OnMobileDelete()
{
    if (!ConfirmDeletion())
        return;
    const std::vector<quintptr> selected = SelectedIds(*ShownMobileList());
    if (selected.empty())
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetTransferProgressRange(int(selected.size()));
    if (!ConnectPhone()) {
        Static(IDC_INFO)->clear();
        return;
    }
    if (doc.DeleteFromPhoneBook(MobileKind(), selected).refused)
        ShowPhoneError(62001);
    doc.Disconnect();
    RefreshAfterPhone();
}

bool CForm_Contact::ConnectPhone()
{
    return MobileKind() == CMVsyncDoc::ListSim ? GetDocument().SelectSimBook() : GetDocument().SelectHandsetBook();
}

void CForm_Contact::RefreshAfterPhone()
{
    RefreshList(MobileKind());
    RefreshList(CMVsyncDoc::ListPc);
    RefreshList(CMVsyncDoc::ListOutlook);
}

} // namespace dh1
