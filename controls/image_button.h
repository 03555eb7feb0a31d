#pragma once

#include "platform/colorref.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPushButton>

#include <optional>

// An owner-drawn push button in its own colours: flat by default and lit while the mouse is
// over it, with an optional image beside the caption, a tooltip, a check-box mode that makes
// it a toggle, and an optional address that a click opens.
class CImageButton : public QPushButton {
    Q_OBJECT
public:
    // Colour indices: "in" is hovered or pressed.
    enum StateColor : int {
        BTNST_COLOR_BK_IN = 0,
        BTNST_COLOR_FG_IN = 1,
        BTNST_COLOR_BK_OUT = 2,
        BTNST_COLOR_FG_OUT = 3,
        BTNST_COLOR_BK_FOCUS = 4,
        BTNST_COLOR_FG_FOCUS = 5,
        BTNST_MAX_COLORS = 6,
    };
    // Image alignment.
    enum ImageAlign : quint8 { ST_ALIGN_HORIZ = 0, ST_ALIGN_VERT = 1, ST_ALIGN_HORIZ_RIGHT = 2 };

    explicit CImageButton(QWidget* parent = nullptr);
    explicit CImageButton(const QString& text, QWidget* parent = nullptr);
    ~CImageButton() override;

    // The check-box style: a click toggles the check state, which shows as pressed.
    void SetCheckBoxMode(bool checkBox);
    bool IsCheckBoxMode() const { return m_bCheckBox; }

    int SetCheck(int check, bool repaint = true);
    int GetCheck() const { return m_nCheck; }

    int SetStateColor(int index, COLORREF color, bool repaint = true);
    int GetStateColor(int index, COLORREF& color) const;
    int ResetColors(bool repaint = true);

    int SetBorderVisible(bool visible, bool repaint = true);
    int SetFlatFocus(bool flatFocus, bool repaint = true);
    int SetHoverAlways(bool always);
    int SetFlat(bool flat, bool repaint = true);
    int SetImageAlign(quint8 align, bool repaint = true);
    // An image file or resource path; an empty path clears. 1 when it does not load.
    int SetCursorResource(const QString& path, bool repaint = true);

    // Icons (drawn greyed while disabled) and bitmaps (drawn with a transparent colour).
    // Each call first drops every image. 1 when the first image is missing or does not load.
    int LoadIcons(const QString& in, const QString& out = QString());
    int SetIconHandles(const QIcon& in, const QIcon& out = QIcon());
    int LoadBitmaps(const QString& in, COLORREF transparentIn, const QString& out = QString(),
                    COLORREF transparentOut = 0);
    // A null first image only repaints.
    int SetBitmapHandles(const QImage& in, COLORREF transparentIn, const QImage& out = QImage(),
                         COLORREF transparentOut = 0);

    int SetTipText(const QString& text, bool activate = true);
    int SetTipTextId(int id, bool activate = true);
    int ActivateTip(bool activate = true);

    // The parent shows through instead of the face colour.
    int SetTransparentMode(bool repaint = true);
    // An address that a click opens (up to 260 characters; empty clears).
    int SetLinkTarget(const QString& target);

    bool IsFlat() const { return m_bFlat; }
    bool IsHovered() const { return m_bHover; }
    // Whether the button draws pressed: held down, or checked in check-box mode.
    bool IsPressedLook() const;

protected:
    virtual int PaintFace(QPainter& painter, const QRect& rect);
    virtual int PaintEdge(QPainter& painter, const QRect& rect);

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

    bool IsFocused() const { return hasFocus(); }
    COLORREF Color(int index) const { return m_crColors[index]; }

private:
    void OnClicked();
    void CancelHover();
    void FreeImages();
    void Repaint(bool repaint);
    QPixmap CurrentImage() const;

    bool m_bFlat = true;
    bool m_bHover = false;
    bool m_bTransparent = false;
    bool m_bCheckBox = false;
    quint8 m_nAlign = ST_ALIGN_HORIZ;
    bool m_bDrawBorder = true;
    bool m_bFlatFocus = false;
    COLORREF m_crColors[BTNST_MAX_COLORS] = {};
    std::optional<QCursor> m_cursor;
    QString m_strTip;
    bool m_bTipActive = false;
    bool m_bAlwaysTrack = true;
    int m_nCheck = 0;
    QString m_strLinkTarget;
    // Images as they are drawn; icons also keep their disabled look.
    bool m_bIcons = false;
    QIcon m_iconIn;
    QIcon m_iconOut;
    QPixmap m_imageIn;
    QPixmap m_imageOut;
};
