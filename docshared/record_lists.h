#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <type_traits>
#include <unordered_set>
#include <vector>

// Walks over the record lists of both programs' documents. A record marked deleted stays in its
// list until the list is replaced; counts of live entries, searches and rows skip it.
namespace docshared {

template <typename Record>
using Records = std::vector<std::unique_ptr<Record>>;

// A list of a document that is const when the document is (Self is the document's type).
template <typename Self, typename Record>
using ListOf = std::conditional_t<std::is_const_v<Self>, const Records<Record>, Records<Record>>;

template <typename Record>
int LiveCount(const Records<Record>& list)
{
    return int(std::count_if(list.begin(), list.end(), [](const auto& r) { return !r->IsDeleted(); }));
}

// The size of a list, dead records included; 0 for no list.
template <typename Record>
int SizeOf(const Records<Record>* list)
{
    return list ? int(list->size()) : 0;
}

// The record at a position, dead or alive; null for no list or a position out of range.
template <typename Record>
Record* At(const Records<Record>* list, int i)
{
    return list && i >= 0 && i < int(list->size()) ? (*list)[size_t(i)].get() : nullptr;
}

// The live record with that identity (its address), or null when the list no longer holds it
// or it is marked deleted.
template <typename Record>
Record* FindLive(const Records<Record>* list, quintptr id)
{
    if (!list || id == 0)
        return nullptr;
    const auto it = std::find_if(list->begin(), list->end(),
                                 [id](const auto& entry) { return reinterpret_cast<quintptr>(entry.get()) == id; });
    return it == list->end() || (*it)->IsDeleted() ? nullptr : it->get();
}

// The first live record that matches, or null.
template <typename Record, typename Match>
Record* FirstLive(const Records<Record>& list, Match matches)
{
    const auto it = std::find_if(list.begin(), list.end(),
                                 [&](const auto& entry) { return !entry->IsDeleted() && matches(*entry); });
    return it == list.end() ? nullptr : it->get();
}

// Stores a copy of record into the list: the first live entry that matches takes the values, else
// a new record is appended. An updated PIM-side entry that has a PIM item is marked changed, so
// that the next export sends the change.
template <typename Record, typename Match>
Record* StoreCopy(Records<Record>& list, const Record& record, bool pimSide, Match matches)
{
    Record* target = FirstLive(list, matches);
    if (!target) {
        list.push_back(std::make_unique<Record>());
        target = list.back().get();
    } else if (pimSide && !target->m_strEntryID.isEmpty()) {
        target->m_nState = Record::StateChanged;
    }
    target->Assign(record);
    return target;
}

// A contact's copy goes onto the live entry with its SIM index, if it has one; else onto the one
// with its phone index in the same list.
template <typename Contact>
Contact* StoreContactCopy(Records<Contact>& list, const Contact& record, bool pimSide)
{
    const Contact* bySim = record.m_nSimIndex == -1
        ? nullptr
        : FirstLive(list, [&](const Contact& entry) { return entry.m_nSimIndex == record.m_nSimIndex; });
    return StoreCopy(list, record, pimSide, [&](const Contact& entry) {
        if (bySim)
            return &entry == bySim;
        return record.m_nIndex != -1 && entry.m_nIndex == record.m_nIndex && entry.m_nList == record.m_nList;
    });
}

// A schedule entry's or memo's copy goes onto the live entry with its phone index.
template <typename Record>
Record* StoreIndexedCopy(Records<Record>& list, const Record& record, bool pimSide)
{
    return StoreCopy(list, record, pimSide,
                     [&](const Record& entry) { return record.m_nIndex != -1 && entry.m_nIndex == record.m_nIndex; });
}

// Removes the record from the list and frees it; false when the list does not hold it.
template <typename Record>
bool RemoveRecord(Records<Record>& list, const Record* record)
{
    const auto it = std::find_if(list.begin(), list.end(), [record](const auto& entry) { return entry.get() == record; });
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

// The last record with that EntryID, dead ones included.
template <typename Record>
const Record* LastWithEntryId(const Records<Record>& list, const QString& entryId)
{
    const auto it = std::find_if(list.rbegin(), list.rend(),
                                 [&](const auto& entry) { return entry->m_strEntryID == entryId; });
    return it == list.rend() ? nullptr : it->get();
}

// The values of a member (a storage index) over the live records that pass the filter.
template <typename Record, typename Owner, typename Filter>
std::unordered_set<int> LiveValues(const Records<Record>& list, int Owner::*member, Filter pass)
{
    std::unordered_set<int> values;
    for (const auto& entry : list) {
        if (!entry->IsDeleted() && pass(*entry))
            values.insert((*entry).*member);
    }
    return values;
}

// Live records of the linked lists whose link (a storage index other than -1) is none of the
// given ones lose it.
template <typename Record, typename Owner>
void DropStaleLinks(const std::unordered_set<int>& onPhone, int Owner::*link, std::initializer_list<Records<Record>*> linked)
{
    for (Records<Record>* list : linked) {
        for (const auto& entry : *list) {
            int& index = (*entry).*link;
            if (!entry->IsDeleted() && index != -1 && !onPhone.count(index))
                index = -1;
        }
    }
}

// Live records of the lists that hold that storage index lose it, all but keep; -1 does nothing.
template <typename Record, typename Owner>
void Unlink(int index, int Owner::*link, std::initializer_list<Records<Record>*> lists, const Record* keep = nullptr)
{
    if (index == -1)
        return;
    for (Records<Record>* list : lists) {
        for (const auto& entry : *list) {
            if (entry.get() != keep && !entry->IsDeleted() && (*entry).*link == index)
                (*entry).*link = -1;
        }
    }
}

// A fresh record read from the PIM store takes the phone link of the old one with its EntryID:
// its storage index and its list.
template <typename Record>
void KeepPhoneLink(Record& fresh, const Record& old)
{
    fresh.m_nIndex = old.m_nIndex;
    fresh.m_nList = old.m_nList;
}

// A contact also keeps its link to the SIM.
template <typename Contact>
void KeepContactLinks(Contact& fresh, const Contact& old)
{
    KeepPhoneLink(fresh, old);
    fresh.m_nSimIndex = old.m_nSimIndex;
}

// After a read of the PIM store: each fresh record takes over the phone link of the last old
// record with its EntryID (merge copies what the link is).
template <typename Record, typename Merge>
void CarryPhoneLinks(Records<Record>& fresh, const Records<Record>& old, Merge merge)
{
    for (const auto& record : fresh) {
        if (const Record* before = LastWithEntryId(old, record->m_strEntryID))
            merge(*record, *before);
    }
}

// The text up to the first carriage return.
inline QString FirstLine(const QString& text)
{
    const qsizetype cr = text.indexOf(u'\r');
    return cr < 0 ? text : text.left(cr);
}

} // namespace docshared
