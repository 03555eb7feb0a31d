#include "controls/form_button.h"

#include <QPainter>

CFormButton::CFormButton(QWidget* parent) : CImageButton(parent) {}

CFormButton::CFormButton(const QString& text, QWidget* parent) : CImageButton(text, parent) {}

int CFormButton::SetRounded(bool rounded, bool repaint)
{
    m_bRounded = rounded;
    if (repaint)
        update();
    return 0;
}

int CFormButton::SetBkColors(COLORREF in, COLORREF out, COLORREF focus, bool repaint)
{
    SetStateColor(BTNST_COLOR_BK_IN, in, false);
    SetStateColor(BTNST_COLOR_BK_OUT, out, false);
    return SetStateColor(BTNST_COLOR_BK_FOCUS, focus, repaint);
}

int CFormButton::SetFgColors(COLORREF in, COLORREF out, COLORREF focus, bool repaint)
{
    SetStateColor(BTNST_COLOR_FG_IN, in, false);
    SetStateColor(BTNST_COLOR_FG_OUT, out, false);
    return SetStateColor(BTNST_COLOR_FG_FOCUS, focus, repaint);
}

void CFormButton::SetText(const QString& text)
{
    setText(text);
    SetTipText(text, true);
}

int CFormButton::PaintFace(QPainter& painter, const QRect& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(platform::toQColor(Color(BTNST_COLOR_BK_IN)));
    painter.setPen(QPen(Qt::black, 1));
    // The outline runs on the rectangle's last pixels, as a filled GDI shape does.
    const QRect shape = rect.adjusted(0, 0, -1, -1);
    if (m_bRounded)
        painter.drawRoundedRect(shape, 4, 4);
    else
        painter.drawRect(shape);
    painter.restore();
    return 0;
}

int CFormButton::PaintEdge(QPainter&, const QRect&)
{
    return 0;
}
