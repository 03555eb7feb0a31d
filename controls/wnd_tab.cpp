#include "controls/wnd_tab.h"

#include "controls/splitter_tab_wnd.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <iterator>

namespace {

struct TabColors {
    COLORREF fill;
    COLORREF text;
};

// The same pairs as the caption bar's shape and text colours of each page.
constexpr TabColors kTabColors[] = {
    {0x80282B, 0xE7D7D7},
    {0x4C9476, 0xD9F0E6},
    {0x84ACAC, 0xFFFFFF},
    {0x4A5D65, 0xD3E0E5},
};

} // namespace

CWndTab::CWndTab(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void CWndTab::SetSplitter(CSplitterTabWnd* splitter)
{
    m_pSplitter = splitter;
    m_bWidthsDirty = true;
}

void CWndTab::MarkWidthsDirty()
{
    m_bWidthsDirty = true;
}

void CWndTab::SetTabHeight(int height)
{
    m_nTabHeight = height;
    update();
}

void CWndTab::SetTabColors(int n)
{
    if (n < 0 || n >= int(std::size(kTabColors)))
        return;
    m_crSelectedFill = kTabColors[n].fill;
    m_crSelectedText = kTabColors[n].text;
}

int CWndTab::GetTabCount() const
{
    return m_pSplitter ? m_pSplitter->GetViewCount() : 0;
}

const QFont& CWndTab::TabFont()
{
    if (!m_font) {
        // A font whose cell (ascent plus descent) is two pixels less than the tab.
        const int cell = m_nTabHeight - 2;
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setStyleHint(QFont::SansSerif);
        int pixels = std::max(1, cell);
        font.setPixelSize(pixels);
        while (pixels > 1 && QFontMetrics(font).height() > cell)
            font.setPixelSize(--pixels);
        m_font = font;
    }
    return *m_font;
}

void CWndTab::MeasureWidths()
{
    if (!m_bWidthsDirty)
        return;
    m_arrWidths.clear();
    const QFontMetrics metrics(TabFont());
    if (m_pSplitter) {
        for (const QString& title : m_pSplitter->GetTitles())
            m_arrWidths.push_back(metrics.horizontalAdvance(title) + kTextMargin);
    }
    m_bWidthsDirty = false;
}

int CWndTab::TabWidth(int i)
{
    MeasureWidths();
    return i >= 0 && i < int(m_arrWidths.size()) ? m_arrWidths[size_t(i)] : 0;
}

int CWndTab::TabLeft(int i)
{
    MeasureWidths();
    int left = kStartOffset;
    for (int k = 0; k < i && k < int(m_arrWidths.size()); ++k)
        left += Slant() + m_arrWidths[size_t(k)];
    return left;
}

QPolygon CWndTab::TabOutline(int i)
{
    const int h = m_nTabHeight - 1;
    const int s = Slant();
    const int left = TabLeft(i);
    const int w = TabWidth(i);
    return QPolygon({QPoint(left, 0), QPoint(left + s, h), QPoint(left + s + w, h), QPoint(left + 2 * s + w, 0)});
}

int CWndTab::TabFromX(int x)
{
    MeasureWidths();
    int edge = kStartOffset;
    for (int i = 0; i < int(m_arrWidths.size()); ++i) {
        edge += Slant();
        const int w = m_arrWidths[size_t(i)];
        if (x >= edge - 1 && x <= edge + w + 1)
            return i;
        edge += w;
    }
    return -1;
}

void CWndTab::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    OnPaint(dc);
}

void CWndTab::OnPaint(QPainter& dc)
{
    dc.fillRect(rect(), platform::toQColor(m_crBack));
    dc.setFont(TabFont());
    MeasureWidths();

    const int h = m_nTabHeight - 1;
    const int s = Slant();
    const int baseline = 1 + QFontMetrics(TabFont()).ascent();
    const QStringList titles = m_pSplitter ? m_pSplitter->GetTitles() : QStringList();
    const int count = int(std::min(m_arrWidths.size(), size_t(titles.size())));

    // Every tab in outline, black on white titles; each tab's right slant stops where the next
    // tab's left slant crosses it.
    dc.setPen(QPen(Qt::black, 1));
    dc.setBackground(Qt::white);
    dc.setBackgroundMode(Qt::OpaqueMode);
    dc.drawLine(0, 0, width() - 1, 0);
    int left = kStartOffset;
    for (int i = 0; i < count; ++i) {
        const int w = m_arrWidths[size_t(i)];
        dc.drawText(QPoint(left + s + kTextMargin, baseline), titles[i]);
        QPolygon line({QPoint(left, 0), QPoint(left + s, h), QPoint(left + s + w, h)});
        if (i == count - 1)
            line << QPoint(left + 2 * s + w, 0);
        else
            line << QPoint(left + s + w + s / 2, h / 2);
        dc.drawPolyline(line);
        left += s + w;
    }

    // The current tab on top, filled in its page's colours.
    const int current = m_pSplitter ? m_pSplitter->GetCurrentView() : -1;
    if (current < 0 || current >= count)
        return;
    const QPolygon outline = TabOutline(current);
    dc.setBackgroundMode(Qt::TransparentMode);
    dc.setPen(Qt::NoPen);
    dc.setBrush(platform::toQColor(m_crSelectedFill));
    dc.drawPolygon(outline, Qt::OddEvenFill);
    dc.setBrush(Qt::NoBrush);
    dc.setPen(QPen(Qt::black, 1));
    dc.drawPolyline(outline);
    dc.setPen(platform::toQColor(m_crSelectedText));
    dc.drawText(QPoint(TabLeft(current) + s + kTextMargin, baseline), titles[current]);
}

void CWndTab::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonDown(event->position().toPoint());
    QWidget::mousePressEvent(event);
}

void CWndTab::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

void CWndTab::OnLButtonDown(const QPoint& point)
{
    // Only the x position counts: the slanted sides, where tabs overlap, belong to no tab.
    const int tab = TabFromX(point.x());
    if (tab < 0)
        return;
    if (m_pSplitter)
        m_pSplitter->SelectView(tab);
    SetTabColors(tab);
}
