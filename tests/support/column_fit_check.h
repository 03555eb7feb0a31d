#pragma once

// Whether the lists of a window show their texts whole at the window's font: every column
// title, also beside the sort mark; in a numbered list a three-digit row number with its check
// box and image; every label of a detail list with its image. Sizes are the view's own hints.
#include "controls/detail_list_ctrl.h"
#include "controls/record_header_ctrl.h"
#include "controls/record_list_ctrl.h"

#include <QApplication>
#include <QHeaderView>

#include <gtest/gtest.h>

namespace windowtest {

inline void ExpectColumnsFit(QWidget& window)
{
    const QList<CRecordListCtrl*> lists = window.findChildren<CRecordListCtrl*>();
    ASSERT_FALSE(lists.isEmpty());
    for (CRecordListCtrl* list : lists) {
        SCOPED_TRACE(list->objectName().toStdString());
        CRecordHeaderCtrl* header = list->GetHeaderCtrl();
        for (int column = 0; column < header->count(); ++column) {
            const QString title = list->headerItem()->text(column);
            EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << title.toStdString();
            list->SortColumn(column, true);
            EXPECT_EQ(header->ShownTitle(column).toStdString(), title.toStdString());
        }
        if (list->HasNumberedRows()) {
            const int row = list->AddRow({}, 1);
            list->SetItemText(row, 0, QStringLiteral("255"));
            EXPECT_LE(list->sizeHintForIndex(list->model()->index(row, 0)).width(), header->sectionSize(0));
        }
    }
    const QList<CDetailListCtrl*> details = window.findChildren<CDetailListCtrl*>();
    ASSERT_FALSE(details.isEmpty());
    for (CDetailListCtrl* detail : details) {
        SCOPED_TRACE(detail->objectName().toStdString());
        for (int row = 0; row < detail->topLevelItemCount(); ++row) {
            EXPECT_LE(detail->sizeHintForIndex(detail->model()->index(row, 0)).width(), detail->header()->sectionSize(0))
                << detail->GetLabel(row).toStdString();
        }
    }
}

// The window's lists fit at the system font and at one six points larger.
inline void ExpectColumnsFitTheSystemFontAndALargerOne(QWidget& window)
{
    const QFont system = QApplication::font();
    ASSERT_GT(system.pointSize(), 0);
    for (const int points : {system.pointSize(), system.pointSize() + 6}) {
        SCOPED_TRACE(points);
        QFont font = system;
        font.setPointSize(points);
        window.setFont(font);
        ExpectColumnsFit(window);
    }
}

} // namespace windowtest
