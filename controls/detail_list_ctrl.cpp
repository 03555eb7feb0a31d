#include "controls/detail_list_ctrl.h"

#include "controls/grid_line_delegate.h"
#include "controls/image_strip.h"

#include <QEvent>
#include <QHeaderView>
#include <QPalette>

#include <algorithm>

CDetailListCtrl::CDetailListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setColumnCount(2);
    // The two columns have no titles, so there is no header to show.
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(16, 16));
    setItemDelegate(new GridLineDelegate(this));
}

void CDetailListCtrl::SetUp(const QString& imageStrip, COLORREF background, int labelWidth, int valueWidth)
{
    m_images = LoadImageStrip(imageStrip);
    m_crBackground = background;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, platform::toQColor(background));
    palette.setColor(QPalette::AlternateBase, platform::toQColor(background));
    setPalette(palette);
    m_nLabelWidth = labelWidth;
    header()->resizeSection(1, valueWidth);
    FitLabels();
}

void CDetailListCtrl::FitLabels()
{
    int width = m_nLabelWidth;
    for (int row = 0; row < topLevelItemCount(); ++row)
        width = std::max(width, sizeHintForIndex(model()->index(row, 0)).width());
    header()->resizeSection(0, width);
}

void CDetailListCtrl::changeEvent(QEvent* event)
{
    QTreeWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitLabels();
}

void CDetailListCtrl::SetRows(const std::vector<Row>& rows)
{
    clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.size()));
    for (const Row& row : rows) {
        auto* item = new QTreeWidgetItem(QStringList{row.label, row.value});
        if (row.image >= 0 && row.image < m_images.size())
            item->setIcon(0, m_images[row.image]);
        item->setFlags(Qt::ItemIsEnabled);
        items.append(item);
    }
    addTopLevelItems(items);
    FitLabels();
}

QString CDetailListCtrl::GetLabel(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(0) : QString();
}

QString CDetailListCtrl::GetValue(int row) const
{
    const QTreeWidgetItem* item = topLevelItem(row);
    return item ? item->text(1) : QString();
}
