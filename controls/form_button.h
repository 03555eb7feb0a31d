#pragma once

#include "controls/image_button.h"

// The forms' command button: a rounded face filled with the "in" background colour and a
// thin black outline, no edge. Hover and focus show only in the caption colour.
class CFormButton : public CImageButton {
    Q_OBJECT
public:
    explicit CFormButton(QWidget* parent = nullptr);
    explicit CFormButton(const QString& text, QWidget* parent = nullptr);

    int SetRounded(bool rounded, bool repaint = true);
    bool IsRounded() const { return m_bRounded; }
    // Colours 0, 2 and 4, and 1, 3 and 5.
    int SetBkColors(COLORREF in, COLORREF out, COLORREF focus, bool repaint = true);
    int SetFgColors(COLORREF in, COLORREF out, COLORREF focus, bool repaint = true);
    // The caption, and the same text as the tooltip.
    void SetText(const QString& text);

protected:
    int PaintFace(QPainter& painter, const QRect& rect) override;
    int PaintEdge(QPainter& painter, const QRect& rect) override;

private:
    bool m_bRounded = true;
};
