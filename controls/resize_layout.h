#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <vector>

// A point of the layout rectangle in per cent of its width and height.
struct Anchor {
    int x;
    int y;
    friend constexpr bool operator==(const Anchor&, const Anchor&) = default;
};

inline constexpr Anchor ANCHOR_NONE{-1, -1};
inline constexpr Anchor ANCHOR_TOPLEFT{0, 0};
inline constexpr Anchor ANCHOR_TOPCENTER{50, 0};
inline constexpr Anchor ANCHOR_TOPRIGHT{100, 0};
inline constexpr Anchor ANCHOR_MIDDLELEFT{0, 50};
inline constexpr Anchor ANCHOR_MIDDLECENTER{50, 50};
inline constexpr Anchor ANCHOR_MIDDLERIGHT{100, 50};
inline constexpr Anchor ANCHOR_BOTTOMLEFT{0, 100};
inline constexpr Anchor ANCHOR_BOTTOMCENTER{50, 100};
inline constexpr Anchor ANCHOR_BOTTOMRIGHT{100, 100};

// One anchored control: its corners keep their distances (the margins) to two anchor points.
struct LayoutEntry {
    QPointer<QWidget> window; // null for a callback entry, or once the control is gone
    int callbackData = 0;
    Anchor topLeft{0, 0};
    int leftMargin = 0;
    int topMargin = 0;
    Anchor bottomRight{0, 0};
    int rightMargin = 0;
    int bottomMargin = 0;
};

// Moves and stretches registered controls when their window is resized. Knows nothing of
// views: it reaches the window only through the virtual operations below.
class CResizeLayout {
public:
    CResizeLayout() = default;
    virtual ~CResizeLayout();
    CResizeLayout(const CResizeLayout&) = delete;
    CResizeLayout& operator=(const CResizeLayout&) = delete;

    // Registers control with its present place as the design: the margins are its distances
    // to the anchors. A bottom-right anchor of ANCHOR_NONE takes the top-left one (the control
    // moves and keeps its size). A null control gives an entry that Arrange skips.
    void AddControl(QWidget* control, Anchor topLeft, Anchor bottomRight = ANCHOR_NONE);
    // An entry without a window, offered to OnCallbackEntry at every Arrange.
    void AddCallbackEntry(int callbackData = 0);
    // Puts every control where its anchors say; controls already there are not touched.
    void Arrange();

    int GetControlCount() const { return m_nControlCount; }
    const std::vector<LayoutEntry>& GetEntries() const { return m_arrEntries; }

protected:
    // The rectangle the anchors refer to, in the layout window's coordinates.
    virtual QRect GetLayoutClientRect() const;
    // Asked for entries without a window; false skips them.
    virtual bool OnCallbackEntry(LayoutEntry& entry);
    virtual QWidget* GetLayoutWnd() const = 0;

private:
    QRect ControlRect(const QWidget& control) const;
    void PlaceControl(QWidget& control, const QRect& current, const QRect& wanted) const;

    std::vector<LayoutEntry> m_arrEntries; // controls first, then callback entries
    int m_nControlCount = 0;
};
