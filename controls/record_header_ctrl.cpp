#include "controls/record_header_ctrl.h"

#include "platform/archive.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

// Widths come from a data file: a stored width beyond this is not a column anyone made.
constexpr qint32 kMaxStoredWidth = 0x7FFF;

} // namespace

CRecordHeaderCtrl::CRecordHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setStretchLastSection(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void CRecordHeaderCtrl::SetSortMark(int column, bool ascending)
{
    m_nSortColumn = column;
    m_nAscending = ascending ? 1 : 0;
    m_ownerDrawn.insert(column);
    viewport()->update();
}

void CRecordHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (m_ownerDrawn.contains(logicalIndex))
        DrawItem(painter, rect, logicalIndex);
    else
        QHeaderView::paintSection(painter, rect, logicalIndex);
}

void CRecordHeaderCtrl::DrawItem(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette().color(QPalette::Button));

    const QString text = Title(logicalIndex);
    Qt::Alignment align = Qt::AlignLeft;
    if (model()) {
        const QVariant a = model()->headerData(logicalIndex, orientation(), Qt::TextAlignmentRole);
        if (a.isValid()) {
            const auto h = Qt::Alignment(a.toInt()) & Qt::AlignHorizontal_Mask;
            if (h & Qt::AlignHCenter)
                align = Qt::AlignHCenter;
            else if (h & Qt::AlignRight)
                align = Qt::AlignRight;
        }
    }

    // Edges as the item rectangle gives them: right and bottom lie just outside.
    int left = rect.left();
    int top = rect.top();
    int right = rect.left() + rect.width();
    const int bottom = rect.top() + rect.height();
    if (m_nPressed == logicalIndex) {
        left += 1;
        top += 2;
        right += 1;
    }
    const int o = rect.height() / 4;
    const bool sorted = logicalIndex == m_nSortColumn;
    const int room = TitleRoom(right - left, rect.height(), logicalIndex);
    left += o;
    right = left + room;
    if (left < right) {
        const QRect textRect(left, top, right - left, bottom - top);
        painter->setPen(palette().color(QPalette::ButtonText));
        painter->setFont(font());
        painter->drawText(textRect, int(align | Qt::AlignVCenter | Qt::TextSingleLine), FittedTitle(text, room));
    }

    if (sorted) {
        const int R = rect.left() + rect.width();
        const int B = bottom;
        const int T = rect.top();
        const QPen highlight(palette().color(QPalette::Light), 1);
        const QPen shadow(palette().color(QPalette::Dark), 1);
        if (m_nAscending) {
            // apex up
            painter->setPen(highlight);
            painter->drawLine(R - 2 * o, T + o, R - o, B - o - 1);
            painter->drawLine(R - o, B - o - 1, R - 3 * o - 2, B - o - 1);
            painter->setPen(shadow);
            painter->drawLine(R - 3 * o - 1, B - o - 1, R - 2 * o, T + o - 1);
        } else {
            // apex down
            painter->setPen(highlight);
            painter->drawLine(R - o - 1, T + o, R - 2 * o - 1, B - o);
            painter->setPen(shadow);
            painter->drawLine(R - 2 * o - 2, B - o, R - 3 * o - 1, T + o);
            painter->drawLine(R - 3 * o - 1, T + o, R - o - 1, T + o);
        }
    }
    painter->restore();
}

QString CRecordHeaderCtrl::Title(int logicalIndex) const
{
    return model() ? model()->headerData(logicalIndex, orientation()).toString().left(255) : QString();
}

int CRecordHeaderCtrl::TitleRoom(int width, int height, int logicalIndex) const
{
    const int o = height / 4;
    return width - (logicalIndex == m_nSortColumn ? 5 : 2) * o;
}

int CRecordHeaderCtrl::ItemHeight() const
{
    return std::max(minimumHeight(), sizeHint().height());
}

int CRecordHeaderCtrl::TitleWidth(int logicalIndex) const
{
    // Room for the mark whether or not the column is sorted now, so that sorting never cuts
    // the title.
    const int text = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(Title(logicalIndex))));
    const int drawn = text + 5 * (ItemHeight() / 4);
    return std::max(drawn, sectionSizeFromContents(logicalIndex).width());
}

QString CRecordHeaderCtrl::ShownTitle(int logicalIndex) const
{
    const int room = TitleRoom(sectionSize(logicalIndex), ItemHeight(), logicalIndex);
    return room > 0 ? FittedTitle(Title(logicalIndex), room) : QString();
}

QString CRecordHeaderCtrl::FittedTitle(const QString& title, int room) const
{
    return fontMetrics().elidedText(title, Qt::ElideRight, room);
}

void CRecordHeaderCtrl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_nPressed = logicalIndexAt(event->position().toPoint());
        viewport()->update();
    }
    QHeaderView::mousePressEvent(event);
}

void CRecordHeaderCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && m_nPressed != -1) {
        m_nPressed = -1;
        viewport()->update();
    }
    QHeaderView::mouseReleaseEvent(event);
}

void CRecordHeaderCtrl::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        const qint32 n = qint32(count());
        ar << n;
        for (int i = 0; i < n; ++i)
            ar << qint32(sectionSize(i));
        return;
    }
    qint32 n = 0;
    ar >> n;
    if (!ar.ok() || n != count())
        return;
    QList<qint32> widths(n);
    for (qint32& width : widths)
        ar >> width;
    // A short or damaged archive changes nothing.
    if (!ar.ok())
        return;
    for (int i = 0; i < n; ++i)
        resizeSection(i, std::clamp(widths[i], qint32(0), kMaxStoredWidth));
}
