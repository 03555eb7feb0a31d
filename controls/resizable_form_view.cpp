#include "controls/resizable_form_view.h"

#include <QEvent>
#include <QResizeEvent>

#include <algorithm>

CResizableFormView::CResizableFormView(const QSize& designSize, QWidget* parent)
    : QScrollArea(parent), m_designSize(designSize), m_pSurface(new QWidget)
{
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(false);
    m_pSurface->resize(m_designSize);
    setWidget(m_pSurface);
    m_pSurface->installEventFilter(this);
}

CResizableFormView::~CResizableFormView() = default;

QWidget* CResizableFormView::AddDlgItem(int id, QWidget* control, const QRect& designRect)
{
    if (!control)
        return nullptr;
    control->setParent(m_pSurface);
    control->setGeometry(designRect);
    control->show();
    m_controls[id] = control;
    return control;
}

QWidget* CResizableFormView::GetDlgItem(int id) const
{
    const auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second.data();
}

void CResizableFormView::AnchorControl(int id, Anchor topLeft, Anchor bottomRight)
{
    AddControl(GetDlgItem(id), topLeft, bottomRight);
}

void CResizableFormView::OnInitialUpdate()
{
    m_bInitialized = true;
    FitSurface();
    Arrange();
}

QRect CResizableFormView::GetLayoutClientRect() const
{
    // The visible area, never smaller than the design: below it the form scrolls instead of
    // squeezing its controls. Before the first update the design size alone counts.
    if (!m_bInitialized)
        return QRect(QPoint(0, 0), m_designSize);
    const QSize visible = viewport()->size();
    return QRect(0, 0, std::max(visible.width(), m_designSize.width()),
                 std::max(visible.height(), m_designSize.height()));
}

QWidget* CResizableFormView::GetLayoutWnd() const
{
    return m_pSurface;
}

bool CResizableFormView::OnFormEvent(QEvent*)
{
    return false;
}

void CResizableFormView::FitSurface()
{
    const QSize size = GetLayoutClientRect().size();
    if (m_pSurface->size() != size)
        m_pSurface->resize(size);
}

void CResizableFormView::OnSize()
{
    if (!m_bInitialized)
        return;
    FitSurface();
    Arrange();
}

void CResizableFormView::resizeEvent(QResizeEvent* event)
{
    // Called for the view and for its viewport, which shrinks when a scroll bar appears.
    QScrollArea::resizeEvent(event);
    OnSize();
}

bool CResizableFormView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pSurface && OnFormEvent(event))
        return true;
    return QScrollArea::eventFilter(watched, event);
}
