// The schedule and memo pages' transfers over the phone's combined list: the list goes to the
// phone whole, and a transfer that does not reach the phone leaves the document as it found it.
#include "document2/mvsync_doc.h"

#include "common/progress_text.h"
#include "platform/string_table.h"

namespace dh2 {

namespace {

constexpr int kPhoneListStatusText = 62515; // "Schedule:%d + Memo:%d = %d/20"

// The phone links of the PC and PIM-side entries of one kind, by identity, so that a transfer
// the phone did not take can give back every link it moved. Entries that left their list
// meanwhile are passed over.
class PhoneLinks {
public:
    PhoneLinks(const CMVsyncDoc& doc, int kind) : m_doc(doc), m_memos(kind == CScheduleEntry::KindMemo)
    {
        for (const int list : {CMVsyncDoc::ListPc, CMVsyncDoc::ListOutlook}) {
            for (const auto& entry : *lists(list))
                m_links.push_back({list, CMVsyncDoc::RecordId(entry.get()), entry->m_nIndex});
        }
    }

    void Restore() const
    {
        for (const Link& link : m_links) {
            CScheduleEntry* entry = m_memos ? m_doc.FindMemo(link.list, link.id) : m_doc.FindSchedule(link.list, link.id);
            if (entry)
                entry->m_nIndex = link.index;
        }
    }

private:
    struct Link {
        int list;
        quintptr id;
        int index;
    };
    const RecordList<CScheduleEntry>* lists(int list) const
    {
        return m_memos ? m_doc.MemoList(list) : m_doc.ScheduleList(list);
    }

    const CMVsyncDoc& m_doc;
    const bool m_memos;
    std::vector<Link> m_links;
};

} // namespace

CMVsyncDoc::PhoneListWrite CMVsyncDoc::CopyToPhoneList(int kind, int sourceList, const std::vector<quintptr>& ids)
{
    PhoneListWrite result;
    if (kind != CScheduleEntry::KindSchedule && kind != CScheduleEntry::KindMemo)
        return result;
    if (sourceList != ListPc && sourceList != ListOutlook)
        return result;
    if (!IsPhoneListRead())
        return result;
    const BusyScope busy = MarkBusy();
    // What the transfer may change: the phone list and the links of this kind.
    RecordList<CScheduleEntry> copy;
    for (const auto& entry : m_arPhoneList)
        copy.push_back(std::make_unique<CScheduleEntry>(*entry));
    const PhoneLinks links(*this, kind);

    for (const quintptr id : ids) {
        CScheduleEntry* source = kind == CScheduleEntry::KindMemo ? FindMemo(sourceList, id) : FindSchedule(sourceList, id);
        if (!source)
            continue;
        if (!addToPhoneList(*source, kind)) {
            result.full = true;
            break;
        }
        ++result.added;
        unlinkPhoneListIndex(kind, source->m_nIndex, source);
    }
    const std::vector<std::pair<int, int>> changing = changingPhoneListPlaces();
    if (result.added > 0)
        result.written = WritePhoneSchedules();
    result.unconfirmed = result.added > 0 && !result.written && PhoneOutcomeUnconfirmed();
    if (result.unconfirmed) {
        // The phone holds the old list or the new one: only the links that are right for both
        // stay, and the list is read again before anything goes by it.
        links.Restore();
        forgetUnconfirmedPhoneList(changing);
        NotifyChanged();
    } else if (!result.written) {
        // The phone kept its old list: so does the document, with the links that point into it.
        m_arPhoneList = std::move(copy);
        links.Restore();
        NotifyChanged();
    }
    return result;
}

bool CMVsyncDoc::DeleteFromPhoneList(const std::vector<quintptr>& ids)
{
    const BusyScope busy = MarkBusy();
    bool marked = false;
    for (const quintptr id : ids) {
        CScheduleEntry* entry = FindSchedule(ListPhone, id);
        if (!entry)
            continue;
        unlinkPhoneListIndex(entry->m_nKind, entry->m_nIndex, nullptr);
        entry->m_nIndex = -1;
        entry->m_nState = CSyncRecord::StateDeleted;
        marked = true;
    }
    return !marked || WritePhoneSchedules();
}

QString CMVsyncDoc::PhoneListStatusText() const
{
    const int schedules = PhoneListCount(CScheduleEntry::KindSchedule);
    const int memos = PhoneListCount(CScheduleEntry::KindMemo);
    return common::FormatProgress(platform::LoadString(kPhoneListStatusText), {schedules, memos, schedules + memos},
                                  common::MissingValue::DropPlaceholder);
}

} // namespace dh2
