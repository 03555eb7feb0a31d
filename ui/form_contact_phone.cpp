// The phonebook form's commands that talk to the phone.
#include "ui/form_contact.h"

#include "platform/clock.h"
#include "ui/resource.h"

#include <QLabel>

#include <memory>

using namespace ids;

namespace {

bool hasNoNumber(const CPhoneEntry& entry)
{
    return entry.m_strMobile.isEmpty() && entry.m_strOffice.isEmpty() && entry.m_strHome.isEmpty();
}

// A SIM copy carries only a name, a group and one number; an entry holding more would lose it
// if the copy took its place.
bool fitsSimCopy(const CPhoneEntry& entry)
{
    return entry.m_strEmail.isEmpty() && entry.m_strMemo.isEmpty() && entry.m_strExtra.isEmpty();
}

} // namespace

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
    const bool sim = MobileKind() == CMVsyncDoc::ListSim;
    const std::vector<quintptr> selected = SelectedIds(*ShownPcList());
    if (selected.empty())
        return;
    CMVsyncDoc& doc = GetDocument();
    const auto busy = doc.MarkBusy();
    SetTransferProgressRange(int(selected.size()));
    if (!ConnectOrSay(sim))
        return;
    if (sim)
        CopyToSim(selected);
    else
        CopyToHandset(selected);
    doc.Disconnect();
    RefreshAfterPhone();
}

void CForm_Contact::CopyToHandset(const std::vector<quintptr>& selected)
{
    CMVsyncDoc& doc = GetDocument();
    const int kind = PcKind();
    for (const quintptr id : selected) {
        CPhoneEntry* entry = doc.FindContact(kind, id);
        if (!entry || hasNoNumber(*entry))
            continue;
        if (entry->m_nSimIndex == -1) {
            const int index = doc.WriteHandsetContact(*entry);
            if (index == -1) {
                ShowWriteError(doc.IsHandsetBookFull());
                return;
            }
            if ((entry = doc.FindContact(kind, id)))
                entry->m_nIndex = index;
            continue;
        }
        // A SIM entry kept on the PC gets a handset twin with its name, number and group.
        auto twin = std::make_unique<CPhoneEntry>();
        twin->m_strName = entry->m_strName;
        twin->m_strMobile = entry->m_strMobile;
        twin->m_nGroup = entry->m_nGroup;
        const int index = doc.WriteHandsetContact(*twin);
        if (index == -1) {
            ShowWriteError(doc.IsHandsetBookFull());
            return;
        }
        twin->m_nIndex = index;
        doc.ContactList(kind)->push_back(std::move(twin));
    }
}

void CForm_Contact::CopyToSim(const std::vector<quintptr>& selected)
{
    CMVsyncDoc& doc = GetDocument();
    const int kind = PcKind();
    for (const quintptr id : selected) {
        CPhoneEntry* entry = doc.FindContact(kind, id);
        if (!entry)
            continue;
        if (entry->m_nSimIndex != -1 && entry->m_nIndex == -1) {
            // A SIM entry kept on the PC goes back as it is.
            const int index = doc.WriteSimContact(*entry);
            if (index == -1) {
                ShowError(62002);
                return;
            }
            if ((entry = doc.FindContact(kind, id)))
                entry->m_nSimIndex = index;
            continue;
        }
        if (hasNoNumber(*entry))
            continue;
        // One SIM entry per number, in the order mobile, home, office.
        CPhoneEntry source;
        source.Assign(*entry);
        int made = 0;
        for (const auto& [number, copySource] : {std::pair{source.m_strMobile, 1}, std::pair{source.m_strHome, 2},
                                                 std::pair{source.m_strOffice, 3}}) {
            if (number.isEmpty())
                continue;
            auto copy = std::make_unique<CPhoneEntry>();
            copy->m_strName = source.m_strName;
            copy->m_nGroup = source.m_nGroup;
            copy->m_strMobile = number;
            copy->m_nCopySource = copySource;
            const int index = doc.WriteSimContact(*copy);
            if (index == -1) {
                ShowWriteError(doc.IsSimBookFull());
                return;
            }
            copy->m_nSimIndex = index;
            doc.ContactList(kind)->push_back(std::move(copy));
            ++made;
        }
        // The SIM-linked copy takes the place of an entry it represents whole.
        entry = doc.FindContact(kind, id);
        if (entry && entry->m_nIndex == -1 && entry->m_nSimIndex == -1 && made == 1 && fitsSimCopy(*entry))
            entry->m_nState = CSyncRecord::StateDeleted;
    }
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
    const int kind = MobileKind();
    const bool sim = kind == CMVsyncDoc::ListSim;
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
    int sincePause = 0;
    for (const quintptr id : selected) {
        CPhoneEntry* record = doc.FindContact(kind, id);
        if (!record)
            continue;
        bool deleted = false;
        if (sim) {
            deleted = doc.DeleteSimContact(*record);
        } else {
            // The phone needs a breath after every run of deletions.
            if (sincePause == kDeletePauseEvery) {
                platform::Sleep(kDeletePauseMs);
                sincePause = 0;
            }
            deleted = doc.DeleteHandsetContact(*record);
            sincePause += deleted ? 1 : 0;
        }
        if (!deleted) {
            ShowError(62001);
            break;
        }
    }
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
