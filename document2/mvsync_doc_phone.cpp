// The phone commands of the document and the port and baud-rate menus.
#include "document2/mvsync_doc.h"

#include "docshared/record_lists.h"
#include "platform/clock.h"

namespace dh2 {

namespace {

using docshared::FirstLive;

bool sameContact(const CPhoneEntry& a, const CPhoneEntry& b)
{
    return a.m_strName == b.m_strName && a.m_strMobile == b.m_strMobile && a.m_strOffice == b.m_strOffice
           && a.m_strHome == b.m_strHome && a.m_strFax == b.m_strFax && a.m_strEmail == b.m_strEmail
           && a.m_nIndex == b.m_nIndex && a.m_nGroup == b.m_nGroup;
}

// The lowest index from 1 to last that no live entry holds; 0 when there is none.
int lowestFree(const RecordList<CPhoneEntry>& book, int CPhoneEntry::*index, int last)
{
    const auto taken = docshared::LiveValues(book, index, [](const CPhoneEntry&) { return true; });
    for (int k = 1; k <= last; ++k) {
        if (!taken.count(k))
            return k;
    }
    return 0;
}

bool hasNumber(const CPhoneEntry& entry)
{
    return !entry.m_strMobile.isEmpty() || !entry.m_strOffice.isEmpty() || !entry.m_strHome.isEmpty();
}

// The live entry of a phone book at a storage index that the phone already holds (not new).
CPhoneEntry* onPhoneAt(const RecordList<CPhoneEntry>& book, int CPhoneEntry::*index, int value)
{
    return FirstLive(book, [&](const CPhoneEntry& e) { return e.*index == value && e.m_nState != CSyncRecord::StateNew; });
}

} // namespace

void CMVsyncDoc::ApplyPortSettings()
{
    m_session.m_port.Disconnect();
    m_session.m_port.m_nPort = m_nComPort;
    m_session.m_port.m_nBaud = m_nBaudRate;
}

template <typename Read>
bool CMVsyncDoc::readPhoneBook(RecordList<CPhoneEntry>& list, bool& readFlag, Read read)
{
    const BusyScope busy = MarkBusy();
    readFlag = true;
    RecordList<CPhoneEntry> fresh;
    if (!read(fresh)) {
        fresh.clear();
        readFlag = false;
    }
    // A failed read leaves the list empty: what it held may no longer be on the phone.
    list = std::move(fresh);
    NotifyChanged();
    return readFlag;
}

bool CMVsyncDoc::ReadHandsetBook()
{
    return readPhoneBook(m_arHandsetContacts, m_bHandsetRead, [this](RecordList<CPhoneEntry>& fresh) {
        const bool ok = m_session.ReadHandsetBook(fresh);
        // The phone needs its pause after a handset read, whatever came of it.
        platform::Sleep(kPhonePauseMs);
        m_nHandsetMax = m_session.m_nHandsetCapacity;
        return ok;
    });
}

bool CMVsyncDoc::ReadSimBook()
{
    return readPhoneBook(m_arSimContacts, m_bSimRead, [this](RecordList<CPhoneEntry>& fresh) {
        const bool ok = m_session.ReadSimBook(fresh);
        m_nSimCapacity = m_session.m_nSimCapacity;
        return ok;
    });
}

bool CMVsyncDoc::ReadPhoneSchedules()
{
    const BusyScope busy = MarkBusy();
    m_bPhoneListRead = true;
    RecordList<CScheduleEntry> fresh;
    if (!m_session.ReadSchedules(fresh)) {
        fresh.clear();
        m_bPhoneListRead = false;
    }
    m_nPhoneListMax = kPhoneListSize;
    m_arPhoneList = std::move(fresh);
    NotifyChanged();
    return m_bPhoneListRead;
}

bool CMVsyncDoc::SelectHandsetBook()
{
    const BusyScope busy = MarkBusy();
    return m_session.SelectHandsetBook();
}

bool CMVsyncDoc::SelectSimBook()
{
    const BusyScope busy = MarkBusy();
    return m_session.SelectSimBook();
}

bool CMVsyncDoc::Disconnect()
{
    const BusyScope busy = MarkBusy();
    return m_session.Disconnect();
}

// An entry that was on the phone and whose rewrite failed is still on the phone as it was: it
// takes its old values back and stays live, so its index is never handed out twice. A new entry
// that the phone did not take was never there and goes. A write whose answer never came leaves
// the book unread: a rewritten entry is still at its index, old or new, but a new one may or may
// not be there.
template <typename Write>
CPhoneEntry* CMVsyncDoc::writeContact(RecordList<CPhoneEntry>& book, CPhoneEntry* entry,
                                      std::unique_ptr<CPhoneEntry> backup, int CPhoneEntry::*index, Write write)
{
    const BusyScope busy = MarkBusy();
    if (!write(*entry)) {
        if (m_session.Unconfirmed()) {
            forgetUnconfirmedBook(book, backup ? -1 : entry->*index);
        } else if (backup) {
            entry->Assign(*backup);
            entry->m_strEntryID = backup->m_strEntryID;
            entry->m_nState = backup->m_nState;
            entry->m_bCountsInGroup = backup->m_bCountsInGroup;
        } else {
            docshared::RemoveRecord(book, entry);
            NotifyChanged();
        }
        return nullptr;
    }
    platform::Sleep(kPhonePauseMs);
    entry->m_nState = CSyncRecord::StateUnchanged;
    return entry;
}

// An entry the phone has, unchanged: nothing to send. Else it takes the source's values, keeping
// its own to fall back on.
template <typename Write>
CPhoneEntry* CMVsyncDoc::rewriteContact(RecordList<CPhoneEntry>& book, CPhoneEntry& entry, const CPhoneEntry& source,
                                        int CPhoneEntry::*index, Write write)
{
    if (sameContact(entry, source))
        return &entry;
    auto backup = std::make_unique<CPhoneEntry>(entry);
    entry.Assign(source);
    return writeContact(book, &entry, std::move(backup), index, write);
}

CPhoneEntry* CMVsyncDoc::WriteHandsetContact(const CPhoneEntry& source)
{
    if (!m_bHandsetRead)
        return nullptr;
    const auto write = [this](CPhoneEntry& e) { return m_session.AddHandsetEntry(e); };
    // Only a record that is itself a handset entry keeps its index.
    if (source.m_nIndex >= 0 && source.m_nList == ListHandset) {
        if (CPhoneEntry* entry = onPhoneAt(m_arHandsetContacts, &CPhoneEntry::m_nIndex, source.m_nIndex))
            return rewriteContact(m_arHandsetContacts, *entry, source, &CPhoneEntry::m_nIndex, write);
    }
    if (docshared::LiveCount(m_arHandsetContacts) >= m_session.m_nHandsetCapacity)
        return nullptr;
    // Every index up to the book's capacity is tried, so that no index goes out twice.
    const int index = lowestFree(m_arHandsetContacts, &CPhoneEntry::m_nIndex,
                                 std::max(int(kHandsetBookSize), m_session.m_nHandsetCapacity));
    if (index == 0)
        return nullptr;
    auto entry = std::make_unique<CPhoneEntry>();
    entry->Assign(source);
    entry->m_nIndex = index;
    entry->m_nList = ListHandset;
    entry->m_nState = CSyncRecord::StateNew;
    m_arHandsetContacts.push_back(std::move(entry));
    return writeContact(m_arHandsetContacts, m_arHandsetContacts.back().get(), nullptr, &CPhoneEntry::m_nIndex, write);
}

CPhoneEntry* CMVsyncDoc::WriteSimContact(const CPhoneEntry& contact)
{
    if (!m_bSimRead)
        return nullptr;
    const auto write = [this](CPhoneEntry& e) { return m_session.AddSimEntry(e); };
    // A SIM entry has one number: the mobile number, else the office number, else the home one.
    CPhoneEntry source = contact;
    for (const QString* number : {&contact.m_strMobile, &contact.m_strOffice, &contact.m_strHome}) {
        if (!number->isEmpty()) {
            source.m_strMobile = *number;
            break;
        }
    }
    if (source.m_nSimIndex > 0) {
        if (CPhoneEntry* entry = onPhoneAt(m_arSimContacts, &CPhoneEntry::m_nSimIndex, source.m_nSimIndex))
            return rewriteContact(m_arSimContacts, *entry, source, &CPhoneEntry::m_nSimIndex, write);
    }
    const int capacity = m_session.m_nSimCapacity;
    if (docshared::LiveCount(m_arSimContacts) >= capacity)
        return nullptr;
    // Live entries at indices past the capacity can leave no index free below it: full as well.
    const int index = lowestFree(m_arSimContacts, &CPhoneEntry::m_nSimIndex, capacity);
    if (index == 0)
        return nullptr;
    auto entry = std::make_unique<CPhoneEntry>();
    entry->m_strName = source.m_strName;
    entry->m_strMobile = source.m_strMobile;
    entry->m_nGroup = source.m_nGroup;
    entry->m_nSimIndex = index;
    entry->m_nState = CSyncRecord::StateNew;
    m_arSimContacts.push_back(std::move(entry));
    return writeContact(m_arSimContacts, m_arSimContacts.back().get(), nullptr, &CPhoneEntry::m_nSimIndex, write);
}

template <typename Delete>
bool CMVsyncDoc::deleteContact(RecordList<CPhoneEntry>& book, CPhoneEntry& record, int CPhoneEntry::*index,
                               Delete remove)
{
    const BusyScope busy = MarkBusy();
    if (!remove(record.*index)) {
        if (m_session.Unconfirmed()) {
            // Perhaps deleted: nothing keeps the index, not even a record of another list.
            const int at = record.*index;
            if (!docshared::RemoveRecord(book, &record))
                record.*index = -1;
            forgetUnconfirmedBook(book, at);
        }
        return false;
    }
    platform::Sleep(kPhonePauseMs);
    if (docshared::RemoveRecord(book, &record)) {
        NotifyChanged();
        return true;
    }
    record.m_nState = CSyncRecord::StateDeleted;
    record.*index = -1;
    return true;
}

void CMVsyncDoc::forgetUnconfirmedBook(const RecordList<CPhoneEntry>& book, int index)
{
    if (&book == &m_arSimContacts) {
        m_arSimContacts.clear();
        m_bSimRead = false;
        UnlinkSimIndex(index);
    } else {
        m_arHandsetContacts.clear();
        m_bHandsetRead = false;
        UnlinkHandsetIndex(index);
    }
    NotifyChanged();
}

bool CMVsyncDoc::DeleteHandsetContact(CPhoneEntry& record)
{
    return deleteContact(m_arHandsetContacts, record, &CPhoneEntry::m_nIndex,
                         [this](int index) { return m_session.DeleteHandsetEntry(index); });
}

bool CMVsyncDoc::DeleteSimContact(CPhoneEntry& record)
{
    return deleteContact(m_arSimContacts, record, &CPhoneEntry::m_nSimIndex,
                         [this](int index) { return m_session.DeleteSimEntry(index); });
}

CMVsyncDoc::PhoneBookWrite CMVsyncDoc::CopyToPhoneBook(int book, int sourceList, const std::vector<quintptr>& ids)
{
    PhoneBookWrite result;
    if ((book != ListHandset && book != ListSim) || (sourceList != ListPc && sourceList != ListOutlook))
        return result;
    const BusyScope busy = MarkBusy();
    const bool sim = book == ListSim;
    for (const quintptr id : ids) {
        const CPhoneEntry* source = FindContact(sourceList, id);
        if (!source || source->m_strName.isEmpty() || !hasNumber(*source))
            continue;
        const bool wasRead = sim ? m_bSimRead : m_bHandsetRead;
        const CPhoneEntry* written = sim ? WriteSimContact(*source) : WriteHandsetContact(*source);
        if (!written) {
            result.refused = true;
            // Only a write whose answer never came turns the book unread; then nothing says
            // whether it is full.
            result.unconfirmed = wasRead && !(sim ? m_bSimRead : m_bHandsetRead);
            result.full = !result.unconfirmed && (sim ? IsSimBookFull() : IsHandsetBookFull());
            break;
        }
        ++result.written;
        const int index = sim ? written->m_nSimIndex : written->m_nIndex;
        // The source may have gone with a refill during the write; it is looked up again.
        CPhoneEntry* entry = FindContact(sourceList, id);
        if (sim) {
            UnlinkSimIndex(index);
            if (entry)
                entry->m_nSimIndex = index;
        } else {
            UnlinkHandsetIndex(index);
            if (entry) {
                entry->m_nList = ListHandset;
                entry->m_nIndex = index;
            }
        }
    }
    return result;
}

CMVsyncDoc::PhoneBookDelete CMVsyncDoc::DeleteFromPhoneBook(int book, const std::vector<quintptr>& ids)
{
    PhoneBookDelete result;
    if (book != ListHandset && book != ListSim)
        return result;
    const BusyScope busy = MarkBusy();
    const bool sim = book == ListSim;
    for (const quintptr id : ids) {
        CPhoneEntry* record = FindContact(book, id);
        if (!record)
            continue;
        // The index is taken first: a deleted record is gone.
        const int index = sim ? record->m_nSimIndex : record->m_nIndex;
        if (!(sim ? DeleteSimContact(*record) : DeleteHandsetContact(*record))) {
            // The book is unread now: no later entry can be sure of its place.
            if (PhoneOutcomeUnconfirmed()) {
                result.unconfirmed = true;
                result.index = index;
                break;
            }
            continue;
        }
        ++result.deleted;
        if (sim)
            UnlinkSimIndex(index);
        else
            UnlinkHandsetIndex(index);
    }
    return result;
}

bool CMVsyncDoc::WritePhoneSchedules()
{
    // What the phone holds beside an unread list would be erased.
    if (!IsPhoneListRead())
        return false;
    const BusyScope busy = MarkBusy();
    const std::vector<std::pair<int, int>> changing = changingPhoneListPlaces();
    // The session cuts what it sends; what the phone did not take keeps its values.
    std::vector<CScheduleEntry> before;
    before.reserve(m_arPhoneList.size());
    for (const auto& entry : m_arPhoneList)
        before.push_back(*entry);
    const bool ok = m_session.WriteSchedules(m_arPhoneList);
    if (ok) {
        std::erase_if(m_arPhoneList, [](const auto& entry) { return entry->IsDeleted(); });
    } else if (m_session.Unconfirmed()) {
        forgetUnconfirmedPhoneList(changing);
    } else {
        for (size_t i = 0; i < before.size(); ++i) {
            m_arPhoneList[i]->Assign(before[i]);
            m_arPhoneList[i]->m_nState = before[i].m_nState;
        }
    }
    NotifyChanged();
    return ok;
}

std::vector<std::pair<int, int>> CMVsyncDoc::changingPhoneListPlaces() const
{
    std::vector<std::pair<int, int>> places;
    for (const auto& entry : m_arPhoneList) {
        if (entry->m_nState == CSyncRecord::StateNew || entry->IsDeleted())
            places.emplace_back(entry->m_nKind, entry->m_nIndex);
    }
    return places;
}

void CMVsyncDoc::forgetUnconfirmedPhoneList(const std::vector<std::pair<int, int>>& places)
{
    for (const auto& [kind, index] : places) {
        if (index >= 0)
            unlinkPhoneListIndex(kind, index, nullptr);
    }
    m_arPhoneList.clear();
    m_bPhoneListRead = false;
}

void CMVsyncDoc::OnComPort(int n)
{
    if (n < 1 || n > 4)
        return;
    m_nComPort = n;
    ApplyPortSettings();
}

void CMVsyncDoc::OnBaudRate(int baud)
{
    if (baud != 19200 && baud != 115200)
        return;
    m_nBaudRate = baud;
    ApplyPortSettings();
}

} // namespace dh2
