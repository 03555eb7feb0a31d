#include "controls/resize_layout.h"

#include <algorithm>

CResizeLayout::~CResizeLayout() = default;

QRect CResizeLayout::GetLayoutClientRect() const
{
    const QWidget* window = GetLayoutWnd();
    return window ? window->rect() : QRect();
}

bool CResizeLayout::OnCallbackEntry(LayoutEntry&)
{
    return false;
}

QRect CResizeLayout::ControlRect(const QWidget& control) const
{
    const QWidget* window = GetLayoutWnd();
    const QWidget* parent = control.parentWidget();
    if (!window || !parent || parent == window)
        return control.geometry();
    return QRect(window->mapFromGlobal(parent->mapToGlobal(control.pos())), control.size());
}

void CResizeLayout::AddControl(QWidget* control, Anchor topLeft, Anchor bottomRight)
{
    if (bottomRight == ANCHOR_NONE)
        bottomRight = topLeft;
    LayoutEntry entry;
    entry.window = control;
    entry.topLeft = topLeft;
    entry.bottomRight = bottomRight;
    if (control) {
        const QRect layout = GetLayoutClientRect();
        const int w = layout.width();
        const int h = layout.height();
        const QRect c = ControlRect(*control);
        // Integer arithmetic, truncating, as Arrange computes the positions back.
        entry.leftMargin = c.left() - w * topLeft.x / 100;
        entry.topMargin = c.top() - h * topLeft.y / 100;
        entry.rightMargin = c.left() + c.width() - w * bottomRight.x / 100;
        entry.bottomMargin = c.top() + c.height() - h * bottomRight.y / 100;
    }
    m_arrEntries.insert(m_arrEntries.begin() + m_nControlCount, entry);
    ++m_nControlCount;
}

void CResizeLayout::AddCallbackEntry(int callbackData)
{
    LayoutEntry entry;
    entry.callbackData = callbackData;
    entry.bottomRight = ANCHOR_TOPLEFT;
    m_arrEntries.push_back(entry);
}

void CResizeLayout::Arrange()
{
    const QRect layout = GetLayoutClientRect();
    const int w = layout.width();
    const int h = layout.height();
    for (LayoutEntry& entry : m_arrEntries) {
        QWidget* control = entry.window;
        if (!control) {
            OnCallbackEntry(entry);
            continue;
        }
        const int left = w * entry.topLeft.x / 100 + entry.leftMargin;
        const int top = h * entry.topLeft.y / 100 + entry.topMargin;
        const int right = w * entry.bottomRight.x / 100 + entry.rightMargin;
        const int bottom = h * entry.bottomRight.y / 100 + entry.bottomMargin;
        const QRect wanted(left, top, std::max(0, right - left), std::max(0, bottom - top));
        const QRect current = ControlRect(*control);
        if (wanted == current)
            continue;
        PlaceControl(*control, current, wanted);
    }
}

void CResizeLayout::PlaceControl(QWidget& control, const QRect& current, const QRect& wanted) const
{
    // Back into the coordinates of the control's own parent, which is usually the layout window.
    const QPoint position = control.pos() + (wanted.topLeft() - current.topLeft());
    if (wanted.size() == current.size())
        control.move(position);
    else if (wanted.topLeft() == current.topLeft())
        control.resize(wanted.size());
    else
        control.setGeometry(QRect(position, wanted.size()));
}
