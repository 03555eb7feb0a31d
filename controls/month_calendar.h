#pragma once

#include "controls/month_texts.h"
#include "controls/record_list_ctrl.h"
#include "controls/sch_flex_man.h"

#include <QRect>

#include <unordered_map>
#include <vector>

class CImageButton;
class CMSFlexGrid;
class CResizableFormView;
class QLabel;

// The month calendar of both programs' schedule forms: a grid turned into a month, a label
// naming the shown month ("2002 / 03") and the arrows to the previous and next month, on the
// form under the program's control ids. What the calendar shows of the local list, and what a
// day's click or double click does, is the form's.
class CMonthCalendar {
public:
    // The controls' ids and design rectangles on the form.
    struct Places {
        int gridId;
        QRect grid;
        int labelId;
        QRect label;
        int prevId;
        QRect prev;
        int nextId;
        QRect next;
    };

    // Builds the controls hidden, named by `calendar` for screen readers (the grid and the label
    // described by `pane` when given, the arrows by `calendar`), and sets the grid up to show
    // the current month.
    CMonthCalendar(CResizableFormView& form, const Places& places, const QString& calendar, const QString& pane);

    CSchFlexMan& FlexMan() { return m_flexMan; }
    const CSchFlexMan& FlexMan() const { return m_flexMan; }
    CMSFlexGrid* Grid() const { return m_pGrid; }
    CImageButton* PrevButton() const { return m_pPrev; }
    CImageButton* NextButton() const { return m_pNext; }

    // Shows or hides the grid, the label and the arrows.
    void Show(bool show);
    // Today's month with today selected.
    void ShowToday();
    // The selected date's year and month in the label.
    void ShowLabel();
    // Writes the entries' texts and repeat marks into the shown month by the program's rule,
    // and names the month in the label.
    void Draw(const std::vector<monthtexts::Entry>& entries, const monthtexts::RepeatRule& rule);
    QDate SelectedDay() const { return m_flexMan.GetSelectedDate().date(); }

    // The calendar entries of a list's rows, in row order. A row names its record by identity
    // (idOf gives a record's); a row whose record is gone or deleted gives nothing. Rows are
    // resolved once per call. ids, when given, receives each entry's identity.
    template <typename Records, typename IdOf>
    static std::vector<monthtexts::Entry> RowEntries(const CRecordListCtrl& list, const Records& records, IdOf idOf,
                                                     std::vector<quintptr>* ids = nullptr);

private:
    CSchFlexMan m_flexMan;
    CMSFlexGrid* m_pGrid;   // controls of the form
    QLabel* m_pLabel;
    CImageButton* m_pPrev;
    CImageButton* m_pNext;
};

template <typename Records, typename IdOf>
std::vector<monthtexts::Entry> CMonthCalendar::RowEntries(const CRecordListCtrl& list, const Records& records, IdOf idOf,
                                                          std::vector<quintptr>* ids)
{
    std::unordered_map<quintptr, const typename Records::value_type::element_type*> live;
    for (const auto& record : records) {
        if (!record->IsDeleted())
            live.emplace(idOf(record.get()), record.get());
    }
    std::vector<monthtexts::Entry> entries;
    entries.reserve(size_t(list.GetItemCount()));
    if (ids)
        ids->clear();
    for (int row = 0; row < list.GetItemCount(); ++row) {
        const auto it = live.find(list.GetItemData(row));
        if (it == live.end())
            continue;
        entries.push_back({it->second->m_dtStart.date(), it->second->m_nRepeat, it->second->m_strSubject});
        if (ids)
            ids->push_back(it->first);
    }
    return entries;
}
