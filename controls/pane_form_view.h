#pragma once

#include "controls/resizable_form_view.h"
#include "platform/colorref.h"

#include <QMargins>

#include <optional>

#include <vector>

class QPainter;

// The two-pane form of the data tabs: the left pane's caption frames it and its right edge is
// a divider that the user drags to share the width between the panes. The form paints a
// frame in its colour around a rounded inner area and a shadow behind each list.
//
// While the divider is dragged a bar follows the mouse; on release the controls named in the
// divider description grow, shrink or move by the distance. Their anchors stay as they were,
// so the next resize of the form puts them back where the anchors say.
class CPaneFormView : public CResizableFormView {
    Q_OBJECT

public:
    struct Divider {
        int captionId = 0;           // the left pane's caption: its right edge is the divider
        int leftLimit = 400;         // a drag to this x or further left is ignored
        int rightRoom = 330;         // as is one that leaves this much room or less on the right
        std::vector<int> rightEdges; // controls whose right edge follows the divider
        std::vector<int> shifted;    // controls that move with it
        std::vector<int> leftEdges;  // controls whose left edge follows it
    };
    static constexpr int kHitWidth = 4;
    static constexpr int kFrameInset = 6;

    explicit CPaneFormView(const QSize& designSize, QWidget* parent = nullptr);
    ~CPaneFormView() override;

    void SetFormColor(COLORREF color);
    COLORREF GetFormColor() const { return m_crForm; }
    // A shadow behind the control with that id while it is shown: its rectangle grown by the
    // margins, in the button-shadow colour or in the colour given.
    void AddShadow(int id, const QMargins& grow);
    void AddShadow(int id, const QMargins& grow, COLORREF color);
    void SetDivider(const Divider& divider) { m_divider = divider; }
    const Divider& GetDivider() const { return m_divider; }

    // The strip by which the divider is grabbed, in surface coordinates; empty without caption.
    QRect DividerHitRect() const;
    bool IsDragging() const { return m_bDragging; }
    // The bar while dragging, in surface coordinates.
    QRect BarRect() const;

protected:
    bool OnFormEvent(QEvent* event) override;
    void OnFormPaint(QPainter& dc);
    // Mouse on the form surface itself (its controls take their own).
    void OnLButtonDown(const QPoint& point);
    void OnMouseMove(const QPoint& point, bool leftDown);
    void OnLButtonUp();
    // Moves the panes by d pixels as the divider description says.
    void MovePanes(int d);
    // After the panes moved; a form with controls of its own to place does it here.
    virtual void OnPanesMoved() {}

private:
    void EndDrag();
    void PlaceBar(int x);

    COLORREF m_crForm = 0x80282B;
    struct Shadow {
        int id;
        QMargins grow;
        std::optional<COLORREF> color; // none: the button-shadow colour
    };
    std::vector<Shadow> m_shadows;
    Divider m_divider;
    bool m_bDragging = false;
    int m_nStartX = 0;
    QWidget* m_pBar; // a child of the surface, shown while dragging
};
