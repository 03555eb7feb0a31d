#pragma once

// Check boxes and radio buttons of both programs answer every change of their state, not only a
// mouse click: the space bar or an arrow key on the focused button, and a toggle as assistive
// technology makes it (toggle, setChecked).
#include "controls/record_list_ctrl.h"
#include "platform/ole_date_time.h"

#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>

namespace windowtest {

// How a list marks the rows a pane's command takes: selected or checked.
enum class RowMark { Selected, Checked };

inline int MarkedRows(const CRecordListCtrl& list, RowMark mark)
{
    if (mark == RowMark::Selected)
        return list.GetSelectedCount();
    int checked = 0;
    for (int row = 0; row < list.GetItemCount(); ++row)
        checked += list.GetCheck(row) ? 1 : 0;
    return checked;
}

// A pane's Select All box over a list of two unmarked rows: the space bar on the focused box,
// toggle and setChecked mark or clear every row and turn the pane's Delete on or off; a row
// left out clears the box and keeps the other row marked. Leaves no row marked.
inline void ExpectSelectAllFollowsEveryToggle(QCheckBox& box, CRecordListCtrl& list, RowMark mark, const QWidget& remove)
{
    const auto unmark = [&](int row) {
        if (mark == RowMark::Selected)
            list.SetSelected(row, false);
        else
            list.SetCheck(row, false);
    };
    ASSERT_TRUE(box.isEnabled());
    ASSERT_EQ(list.GetItemCount(), 2);
    ASSERT_EQ(MarkedRows(list, mark), 0);
    // The box shows the shown list's rows, whatever the pane's hidden list holds.
    EXPECT_FALSE(box.isChecked());

    box.setFocus();
    QTest::keyClick(&box, Qt::Key_Space);
    EXPECT_TRUE(box.isChecked());
    EXPECT_EQ(MarkedRows(list, mark), 2);
    EXPECT_TRUE(remove.isEnabled());

    box.toggle();
    EXPECT_EQ(MarkedRows(list, mark), 0);
    EXPECT_FALSE(remove.isEnabled());

    box.setChecked(true);
    EXPECT_EQ(MarkedRows(list, mark), 2);
    EXPECT_TRUE(remove.isEnabled());

    unmark(0);
    EXPECT_FALSE(box.isChecked());
    EXPECT_EQ(MarkedRows(list, mark), 1);
    EXPECT_TRUE(remove.isEnabled());
    unmark(1);
}

// The schedule dialog of either program: its entry's repeat follows the checked repeat button,
// however it came to be checked.
template <typename ScheduleDlg, typename ScheduleEntry>
void ExpectTheRepeatFollowsTheCheckedButton()
{
    const struct {
        const char* how;
        std::function<void(ScheduleDlg&)> change;
        int repeat;
    } cases[] = {
        {"setChecked", [](ScheduleDlg& dlg) { dlg.RepeatButton(2)->setChecked(true); }, 2},
        {"toggle", [](ScheduleDlg& dlg) { dlg.RepeatButton(4)->toggle(); }, 4},
        {"arrow key",
         [](ScheduleDlg& dlg) {
             dlg.RepeatButton(3)->setFocus();
             QTest::keyClick(dlg.RepeatButton(3), Qt::Key_Right);
         },
         4},
        {"back to once", [](ScheduleDlg& dlg) { dlg.RepeatButton(0)->setChecked(true); }, 0},
    };
    for (const auto& c : cases) {
        ScheduleEntry entry;
        entry.m_dtStart = COleDateTime(2004, 3, 7, 9, 0, 0);
        entry.m_nRepeat = 3;
        ScheduleDlg dlg(entry, ScheduleDlg::ModeEdit);
        dlg.show();
        QApplication::setActiveWindow(&dlg); // the arrow keys move within the focused window
        c.change(dlg);
        dlg.accept();
        EXPECT_EQ(entry.m_nRepeat, c.repeat) << c.how;
    }
}

} // namespace windowtest
