#include "controls/pane_form_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

namespace {

// The divider's bar: a dithered strip over whatever lies under it.
class DividerBar final : public QWidget {
public:
    explicit DividerBar(QWidget* parent) : QWidget(parent)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter dc(this);
        dc.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

} // namespace

CPaneFormView::CPaneFormView(const QSize& designSize, QWidget* parent)
    : CResizableFormView(designSize, parent), m_pBar(new DividerBar(GetFormSurface()))
{
    // Moves without a button decide the cursor over the divider.
    GetFormSurface()->setMouseTracking(true);
}

CPaneFormView::~CPaneFormView() = default;

void CPaneFormView::SetFormColor(COLORREF color)
{
    m_crForm = color;
    GetFormSurface()->update();
}

void CPaneFormView::AddShadow(int id, const QMargins& grow)
{
    m_shadows.push_back({id, grow, std::nullopt});
}

void CPaneFormView::AddShadow(int id, const QMargins& grow, COLORREF color)
{
    m_shadows.push_back({id, grow, color});
}

QRect CPaneFormView::DividerHitRect() const
{
    const QWidget* caption = GetDlgItem(m_divider.captionId);
    if (!caption)
        return {};
    const QRect r = caption->geometry();
    return QRect(r.right() + 1 - kHitWidth, r.top(), kHitWidth, r.height());
}

QRect CPaneFormView::BarRect() const
{
    return m_bDragging ? m_pBar->geometry() : QRect();
}

void CPaneFormView::PlaceBar(int x)
{
    const QRect hit = DividerHitRect();
    m_pBar->setGeometry(x, hit.top(), kHitWidth, hit.height());
    m_pBar->raise();
    m_pBar->show();
}

void CPaneFormView::OnFormPaint(QPainter& dc)
{
    const QRect form = GetFormSurface()->rect();
    QPainterPath frame;
    frame.addRect(form);
    QPainterPath inner;
    inner.addRoundedRect(QRectF(form.adjusted(kFrameInset, kFrameInset, -kFrameInset, -kFrameInset)), 5, 5);
    dc.fillPath(frame.subtracted(inner), platform::toQColor(m_crForm));

    dc.setRenderHint(QPainter::Antialiasing, true);
    const QColor shadow = palette().color(QPalette::Dark);
    for (const Shadow& each : m_shadows) {
        const QWidget* control = GetDlgItem(each.id);
        if (!control || control->isHidden())
            continue;
        QPainterPath path;
        path.addRoundedRect(QRectF(control->geometry().marginsAdded(each.grow)), 2, 2);
        dc.fillPath(path, each.color ? platform::toQColor(*each.color) : shadow);
    }
}

void CPaneFormView::OnLButtonDown(const QPoint& point)
{
    if (m_bDragging || !DividerHitRect().contains(point))
        return;
    GetFormSurface()->setFocus(Qt::MouseFocusReason);
    GetFormSurface()->repaint();
    m_bDragging = true;
    m_nStartX = point.x();
    PlaceBar(point.x());
}

void CPaneFormView::OnMouseMove(const QPoint& point, bool leftDown)
{
    QWidget* surface = GetFormSurface();
    if (!m_bDragging) {
        if (DividerHitRect().contains(point))
            surface->setCursor(Qt::SizeHorCursor);
        else
            surface->unsetCursor();
        return;
    }
    // The button went up somewhere the form did not hear of: the drag is over.
    if (!leftDown) {
        EndDrag();
        return;
    }
    const int x = point.x();
    if (x <= m_divider.leftLimit || surface->width() - x <= m_divider.rightRoom)
        return;
    PlaceBar(x);
}

void CPaneFormView::OnLButtonUp()
{
    if (!m_bDragging)
        return;
    const int d = m_pBar->x() - m_nStartX;
    EndDrag();
    if (d != 0)
        MovePanes(d);
}

void CPaneFormView::EndDrag()
{
    m_bDragging = false;
    m_pBar->hide();
    GetFormSurface()->unsetCursor();
}

void CPaneFormView::MovePanes(int d)
{
    if (!GetDlgItem(m_divider.captionId))
        return;
    const auto each = [this](const std::vector<int>& ids, auto change) {
        for (const int id : ids) {
            if (QWidget* control = GetDlgItem(id))
                control->setGeometry(change(control->geometry()));
        }
    };
    each(m_divider.rightEdges, [d](QRect r) { return r.adjusted(0, 0, d, 0); });
    each(m_divider.shifted, [d](QRect r) { return r.translated(d, 0); });
    each(m_divider.leftEdges, [d](QRect r) { return r.adjusted(d, 0, 0, 0); });
    OnPanesMoved();
    GetFormSurface()->update();
}

bool CPaneFormView::OnFormEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter dc(GetFormSurface());
        OnFormPaint(dc);
        return false; // the surface paints nothing of its own on top
    }
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton)
            OnLButtonDown(mouse->position().toPoint());
        return m_bDragging;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        OnMouseMove(mouse->position().toPoint(), mouse->buttons() & Qt::LeftButton);
        return m_bDragging;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && m_bDragging) {
            OnLButtonUp();
            return true;
        }
        return false;
    }
    default:
        return CResizableFormView::OnFormEvent(event);
    }
}
