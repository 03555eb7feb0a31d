// The phone and message commands of the document, and its port menu.
#include "document/mvsync_doc.h"

#include "link/globals.h"
#include "platform/clock.h"

namespace dh1 {

template <typename Record, typename Read>
bool CMVsyncDoc::readPhoneList(RecordList<Record>& list, bool* readFlag, bool keepOnFailure, Read read)
{
    if (readFlag)
        *readFlag = false;
    RecordList<Record> fresh;
    const bool ok = read(fresh);
    if (!ok && keepOnFailure)
        return false;
    if (readFlag)
        *readFlag = ok;
    // A failed read leaves the phone list empty: what it held may no longer be on the phone.
    ReplaceList(list, ok ? std::move(fresh) : RecordList<Record>());
    return ok;
}

template <typename Record, typename Write, typename Key>
int CMVsyncDoc::writeToPhone(RecordList<Record>& list, const Record& source, Write write, Key key)
{
    auto copy = std::make_unique<Record>();
    copy->Assign(source);
    if (!write(*copy))
        return -1;
    const int written = key(*copy);
    for (const auto& entry : list) {
        if (!entry->IsDeleted() && key(*entry) == written) {
            entry->Assign(*copy);
            return written;
        }
    }
    list.push_back(std::move(copy));
    return written;
}

template <typename Record, typename Write, typename Key>
int CMVsyncDoc::rewriteOnPhone(Record& record, const Record& edited, Write write, Key key)
{
    Record copy;
    copy.Assign(edited);
    if (!write(copy))
        return -1;
    record.Assign(copy);
    return key(record);
}

namespace {

// Replaces the seven group names by those a phonebook read delivered; a phone that sent fewer
// names leaves the others as they were.
void takeGroupNames(QStringList& names)
{
    for (int i = 0; i < names.size() && i < g_arrGroupNames.size(); ++i)
        names[i] = g_arrGroupNames[i];
}

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

bool isPcSide(int list)
{
    return list == CMVsyncDoc::ListPc || list == CMVsyncDoc::ListOutlook;
}

// Writes each source in order; each takes the index the phone gave it, looked up again since the
// write may have refilled its list. A refusal ends the run.
template <typename Find, typename Write, typename Full>
CMVsyncDoc::PhoneTransfer writeEach(const std::vector<quintptr>& ids, Find find, Write write, Full full)
{
    CMVsyncDoc::PhoneTransfer result;
    for (const quintptr id : ids) {
        const auto* record = find(id);
        if (!record)
            continue;
        const int index = write(*record);
        if (index == -1) {
            result.refused = true;
            result.full = full();
            break;
        }
        ++result.done;
        if (auto* written = find(id))
            written->m_nIndex = index;
    }
    return result;
}

// Deletes the phone list's entries from the last given to the first. A refusal ends the run.
template <typename Find, typename Remove>
CMVsyncDoc::PhoneTransfer deleteEach(const std::vector<quintptr>& ids, Find find, Remove remove)
{
    CMVsyncDoc::PhoneTransfer result;
    for (auto it = ids.rbegin(); it != ids.rend(); ++it) {
        auto* record = find(*it);
        if (!record)
            continue;
        if (!remove(*record)) {
            result.refused = true;
            break;
        }
        ++result.done;
    }
    return result;
}

} // namespace

bool CMVsyncDoc::ReadHandsetBook()
{
    const bool ok = readPhoneList(m_handsetContacts, &m_bHandsetRead, false,
                                  [this](auto& list) { return m_session.ReadHandsetBook(list); });
    if (ok)
        takeGroupNames(m_groupNames);
    return ok;
}

bool CMVsyncDoc::ReadSimBook()
{
    const bool ok = readPhoneList(m_simContacts, &m_bSimRead, false,
                                  [this](auto& list) { return m_session.ReadSimBook(list); });
    if (ok)
        takeGroupNames(m_groupNames);
    return ok;
}

bool CMVsyncDoc::ReadPhoneSchedules()
{
    return readPhoneList(m_phoneSchedules, &m_bSchedulesRead, false,
                         [this](auto& list) { return m_session.ReadSchedules(list); });
}

bool CMVsyncDoc::ReadPhoneMemos()
{
    return readPhoneList(m_phoneMemos, nullptr, false, [this](auto& list) { return m_session.ReadMemos(list); });
}

// A book selection that fails after the session opened closes it again, so that the port,
// the progress window and the main window are not left as a connected session keeps them.
bool CMVsyncDoc::SelectHandsetBook()
{
    if (m_session.SelectHandsetBook())
        return true;
    if (m_session.m_bConnected)
        m_session.Disconnect();
    return false;
}

bool CMVsyncDoc::SelectSimBook()
{
    if (m_session.SelectSimBook())
        return true;
    if (m_session.m_bConnected)
        m_session.Disconnect();
    return false;
}

bool CMVsyncDoc::ConnectForSchedules()
{
    return m_session.Connect(false);
}

bool CMVsyncDoc::ConnectForMemos()
{
    return m_session.Connect(false);
}

bool CMVsyncDoc::Disconnect()
{
    return m_session.Disconnect();
}

int CMVsyncDoc::WriteHandsetContact(const CPhoneEntry& source)
{
    return writeToPhone(m_handsetContacts, source, [this](CPhoneEntry& e) { return m_session.WriteHandsetEntry(e); },
                        [](const CPhoneEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::WriteSimContact(const CPhoneEntry& source)
{
    return writeToPhone(m_simContacts, source, [this](CPhoneEntry& e) { return m_session.WriteSimEntry(e); },
                        [](const CPhoneEntry& e) { return e.m_nSimIndex; });
}

int CMVsyncDoc::WritePhoneSchedule(const CScheduleEntry& source)
{
    return writeToPhone(m_phoneSchedules, source, [this](CScheduleEntry& e) { return m_session.WriteSchedule(e); },
                        [](const CScheduleEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::WritePhoneMemo(const CMemoEntry& source)
{
    return writeToPhone(m_phoneMemos, source, [this](CMemoEntry& e) { return m_session.WriteMemo(e); },
                        [](const CMemoEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdateHandsetContact(CPhoneEntry& record, const CPhoneEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CPhoneEntry& e) { return m_session.WriteHandsetEntry(e); },
                          [](const CPhoneEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdateSimContact(CPhoneEntry& record, const CPhoneEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CPhoneEntry& e) { return m_session.WriteSimEntry(e); },
                          [](const CPhoneEntry& e) { return e.m_nSimIndex; });
}

int CMVsyncDoc::UpdatePhoneSchedule(CScheduleEntry& record, const CScheduleEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CScheduleEntry& e) { return m_session.WriteSchedule(e); },
                          [](const CScheduleEntry& e) { return e.m_nIndex; });
}

int CMVsyncDoc::UpdatePhoneMemo(CMemoEntry& record, const CMemoEntry& edited)
{
    return rewriteOnPhone(record, edited, [this](CMemoEntry& e) { return m_session.WriteMemo(e); },
                          [](const CMemoEntry& e) { return e.m_nIndex; });
}

bool CMVsyncDoc::DeleteHandsetContact(CPhoneEntry& record)
{
    if (!m_session.DeleteHandsetEntry(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::DeleteSimContact(CPhoneEntry& record)
{
    if (!m_session.DeleteSimEntry(record.m_nSimIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nSimIndex = -1;
    return true;
}

bool CMVsyncDoc::DeletePhoneSchedule(CScheduleEntry& record)
{
    if (!m_session.DeleteSchedule(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

bool CMVsyncDoc::DeletePhoneMemo(CMemoEntry& record)
{
    if (!m_session.DeleteMemo(record.m_nIndex))
        return false;
    record.m_nState = CSyncRecord::StateDeleted;
    record.m_nIndex = -1;
    return true;
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::CopyToPhoneBook(int book, int sourceList, const std::vector<quintptr>& ids)
{
    if (!isPcSide(sourceList))
        return {};
    const BusyScope busy = MarkBusy();
    if (book == ListHandset)
        return copyToHandset(sourceList, ids);
    if (book == ListSim)
        return copyToSim(sourceList, ids);
    return {};
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::copyToHandset(int sourceList, const std::vector<quintptr>& ids)
{
    PhoneTransfer result;
    const auto refused = [this, &result] {
        result.refused = true;
        result.full = IsHandsetBookFull();
        return result;
    };
    for (const quintptr id : ids) {
        CPhoneEntry* entry = FindContact(sourceList, id);
        if (!entry || hasNoNumber(*entry))
            continue;
        if (entry->m_nSimIndex == -1) {
            const int index = WriteHandsetContact(*entry);
            if (index == -1)
                return refused();
            ++result.done;
            if ((entry = FindContact(sourceList, id)))
                entry->m_nIndex = index;
            continue;
        }
        // A SIM entry kept on the PC gets a handset twin with its name, number and group.
        auto twin = std::make_unique<CPhoneEntry>();
        twin->m_strName = entry->m_strName;
        twin->m_strMobile = entry->m_strMobile;
        twin->m_nGroup = entry->m_nGroup;
        const int index = WriteHandsetContact(*twin);
        if (index == -1)
            return refused();
        ++result.done;
        twin->m_nIndex = index;
        ContactList(sourceList)->push_back(std::move(twin));
    }
    return result;
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::copyToSim(int sourceList, const std::vector<quintptr>& ids)
{
    PhoneTransfer result;
    for (const quintptr id : ids) {
        CPhoneEntry* entry = FindContact(sourceList, id);
        if (!entry)
            continue;
        if (entry->m_nSimIndex != -1 && entry->m_nIndex == -1) {
            // A SIM entry kept on the PC goes back as it is.
            const int index = WriteSimContact(*entry);
            if (index == -1) {
                result.refused = true;
                return result;
            }
            ++result.done;
            if ((entry = FindContact(sourceList, id)))
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
            const int index = WriteSimContact(*copy);
            if (index == -1) {
                result.refused = true;
                result.full = IsSimBookFull();
                return result;
            }
            ++result.done;
            copy->m_nSimIndex = index;
            ContactList(sourceList)->push_back(std::move(copy));
            ++made;
        }
        // The SIM-linked copy takes the place of an entry it represents whole.
        entry = FindContact(sourceList, id);
        if (entry && entry->m_nIndex == -1 && entry->m_nSimIndex == -1 && made == 1 && fitsSimCopy(*entry))
            entry->m_nState = CSyncRecord::StateDeleted;
    }
    return result;
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::DeleteFromPhoneBook(int book, const std::vector<quintptr>& ids)
{
    PhoneTransfer result;
    if (book != ListHandset && book != ListSim)
        return result;
    const BusyScope busy = MarkBusy();
    const bool sim = book == ListSim;
    int sincePause = 0;
    for (const quintptr id : ids) {
        CPhoneEntry* record = FindContact(book, id);
        if (!record)
            continue;
        // The handset needs a breath after every run of deletions.
        if (!sim && sincePause == kDeletePauseEvery) {
            platform::Sleep(kDeletePauseMs);
            sincePause = 0;
        }
        if (!(sim ? DeleteSimContact(*record) : DeleteHandsetContact(*record))) {
            result.refused = true;
            break;
        }
        ++result.done;
        ++sincePause;
    }
    return result;
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::CopyToPhoneSchedules(int sourceList, const std::vector<quintptr>& ids)
{
    if (!isPcSide(sourceList))
        return {};
    const BusyScope busy = MarkBusy();
    return writeEach(
        ids, [this, sourceList](quintptr id) { return FindSchedule(sourceList, id); },
        [this](const CScheduleEntry& e) { return WritePhoneSchedule(e); }, [this] { return IsPhoneScheduleFull(); });
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::CopyToPhoneMemos(int sourceList, const std::vector<quintptr>& ids)
{
    if (!isPcSide(sourceList))
        return {};
    const BusyScope busy = MarkBusy();
    return writeEach(
        ids, [this, sourceList](quintptr id) { return FindMemo(sourceList, id); },
        [this](const CMemoEntry& e) { return WritePhoneMemo(e); }, [this] { return IsPhoneMemoFull(); });
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::DeleteFromPhoneSchedules(const std::vector<quintptr>& ids)
{
    const BusyScope busy = MarkBusy();
    return deleteEach(
        ids, [this](quintptr id) { return FindSchedule(ListPhone, id); },
        [this](CScheduleEntry& e) { return DeletePhoneSchedule(e); });
}

CMVsyncDoc::PhoneTransfer CMVsyncDoc::DeleteFromPhoneMemos(const std::vector<quintptr>& ids)
{
    const BusyScope busy = MarkBusy();
    return deleteEach(
        ids, [this](quintptr id) { return FindMemo(ListPhone, id); },
        [this](CMemoEntry& e) { return DeletePhoneMemo(e); });
}

bool CMVsyncDoc::ReadMessages()
{
    // A failed read keeps the messages read before.
    return readPhoneList(m_messages, nullptr, true, [this](auto& list) { return m_session.ReadMessages(list); });
}

bool CMVsyncDoc::ConnectForMessages()
{
    return m_session.Connect(true);
}

bool CMVsyncDoc::DeleteMessage(CSmsEntry& record)
{
    for (CSmsEntry::Part& part : record.m_parts) {
        if (part.m_nIndex == -1)
            continue;
        if (!m_session.DeleteMessage(part.m_nIndex, part.m_nStorage))
            return false;
        part.m_nIndex = -1;
    }
    record.m_nState = CSyncRecord::StateDeleted;
    return true;
}

void CMVsyncDoc::OnComPort(int n)
{
    if (n < 1 || n > 5)
        return;
    m_nComPort = n;
    m_session.SetPort(n, 57600, 100);
}

void CMVsyncDoc::OnToggleIrComm()
{
    m_session.m_port.m_bIrComm = !m_session.m_port.m_bIrComm;
}

} // namespace dh1
