#pragma once

#include "controls/resize_layout.h"

#include <QPointer>
#include <QScrollArea>
#include <QSize>

#include <map>

// Base of the data forms: a form built in code with a design size, whose child controls are
// placed at their design geometry and then follow their anchors when the form is resized.
// Below the design size the controls stay at their design layout and the form scrolls.
//
// The controls live on the form's surface (the scrolled widget). Derived forms register them
// with AddDlgItem, anchor them in their OnInitialUpdate and then call this class's
// OnInitialUpdate, which arranges once.
class CResizableFormView : public QScrollArea, public CResizeLayout {
    Q_OBJECT

public:
    explicit CResizableFormView(const QSize& designSize, QWidget* parent = nullptr);
    ~CResizableFormView() override;

    // Puts control on the form surface at its design rectangle, under a control id. The
    // surface's tree owns the control. Returns control.
    QWidget* AddDlgItem(int id, QWidget* control, const QRect& designRect);
    // The control registered under id, or nullptr.
    QWidget* GetDlgItem(int id) const;
    // Anchors the control with that id; an id that names no control gives an entry without a
    // window, which Arrange skips.
    void AnchorControl(int id, Anchor topLeft, Anchor bottomRight = ANCHOR_NONE);

    virtual void OnInitialUpdate();
    bool IsInitialized() const { return m_bInitialized; }
    QSize GetDesignSize() const { return m_designSize; }
    QWidget* GetFormSurface() const { return m_pSurface; }

protected:
    QRect GetLayoutClientRect() const override;
    QWidget* GetLayoutWnd() const override;

    // Events of the form surface (painting, mouse, cursor) in surface coordinates, before the
    // surface handles them; true eats the event.
    virtual bool OnFormEvent(QEvent* event);

    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    void OnSize();

private:
    void FitSurface();

    QSize m_designSize;
    QWidget* m_pSurface; // owned by the scroll area
    std::map<int, QPointer<QWidget>> m_controls;
    bool m_bInitialized = false;
};
