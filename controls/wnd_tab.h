#pragma once

#include "platform/colorref.h"

#include <QFont>
#include <QPolygon>
#include <QWidget>

#include <optional>
#include <vector>

class CSplitterTabWnd;
class QPainter;

// The strip of trapezoid tabs along the bottom of the main window, one tab per view of the
// splitter. Tabs hang from a line along the top edge and overlap their neighbours by half a
// slant; only the span of a tab's bottom edge takes a click.
class CWndTab : public QWidget {
    Q_OBJECT

public:
    static constexpr int kDefaultTabHeight = 23;
    static constexpr int kStartOffset = 20; // from the left edge to the first tab
    static constexpr int kTextMargin = 3;   // added to each title's width and x position
    static constexpr COLORREF kBackColor = 0xD7D7D7;

    explicit CWndTab(QWidget* parent = nullptr);

    void SetSplitter(CSplitterTabWnd* splitter);
    void MarkWidthsDirty();
    void SetTabHeight(int height);
    int GetTabHeight() const { return m_nTabHeight; }
    // Selected-tab colours of page n (0..3); other n change nothing.
    void SetTabColors(int n);
    COLORREF GetSelectedFillColor() const { return m_crSelectedFill; }
    COLORREF GetSelectedTextColor() const { return m_crSelectedText; }

    int GetTabCount() const;
    // Geometry in strip coordinates (y = 0 at the top): tab i's top-left corner, its width
    // (title width plus the text margin) and its four outline points.
    int TabLeft(int i);
    int TabWidth(int i);
    QPolygon TabOutline(int i);
    // The tab whose bottom edge, one pixel wider on each side, spans x; -1 for none.
    int TabFromX(int x);
    const QFont& TabFont();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // The second press of a double click is no new click on a tab.
    void mouseDoubleClickEvent(QMouseEvent* event) override;

    void OnPaint(QPainter& dc);
    void OnLButtonDown(const QPoint& point);

private:
    void MeasureWidths();
    int Slant() const { return (m_nTabHeight - 1) / 2; }

    CSplitterTabWnd* m_pSplitter = nullptr;
    int m_nTabHeight = kDefaultTabHeight;
    bool m_bWidthsDirty = true;
    std::vector<int> m_arrWidths;
    std::optional<QFont> m_font;
    COLORREF m_crBack = kBackColor;
    COLORREF m_crSelectedFill = 0x80282B;
    COLORREF m_crSelectedText = 0xE7D7D7;
};
