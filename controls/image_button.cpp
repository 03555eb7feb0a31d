#include "controls/image_button.h"

#include "controls/image_strip.h"
#include "platform/shell_open.h"
#include "platform/string_table.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace {

constexpr int kMaxLinkTarget = 260;

// A line that leaves out its end point, as the system's line drawing does.
void lineTo(QPainter& p, QPoint from, QPoint to)
{
    if (from == to)
        return;
    const int dx = (to.x() > from.x()) - (to.x() < from.x());
    const int dy = (to.y() > from.y()) - (to.y() < from.y());
    p.drawLine(from, to - QPoint(dx, dy));
}

void polyline(QPainter& p, const QColor& color, std::initializer_list<QPoint> points)
{
    p.setPen(QPen(color, 1));
    const QPoint* prev = nullptr;
    for (const QPoint& pt : points) {
        if (prev)
            lineTo(p, *prev, pt);
        prev = &pt;
    }
}

QPixmap maskedBitmap(const QImage& image, COLORREF transparent)
{
    return QPixmap::fromImage(WithTransparentColor(image, transparent));
}

} // namespace

CImageButton::CImageButton(QWidget* parent) : CImageButton(QString(), parent) {}

CImageButton::CImageButton(const QString& text, QWidget* parent) : QPushButton(text, parent)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover, false);
    ResetColors(false);
    connect(this, &QAbstractButton::clicked, this, &CImageButton::OnClicked);
}

CImageButton::~CImageButton() = default;

void CImageButton::Repaint(bool repaint)
{
    if (repaint)
        update();
}

void CImageButton::SetCheckBoxMode(bool checkBox)
{
    m_bCheckBox = checkBox;
    update();
}

int CImageButton::SetCheck(int check, bool repaint)
{
    if (m_bCheckBox) {
        m_nCheck = check ? 1 : 0;
        Repaint(repaint);
    }
    return 0;
}

int CImageButton::SetStateColor(int index, COLORREF color, bool repaint)
{
    if (index < 0 || index >= BTNST_MAX_COLORS)
        return 3;
    m_crColors[index] = color;
    Repaint(repaint);
    return 0;
}

int CImageButton::GetStateColor(int index, COLORREF& color) const
{
    if (index < 0 || index >= BTNST_MAX_COLORS)
        return 3;
    color = m_crColors[index];
    return 0;
}

int CImageButton::ResetColors(bool repaint)
{
    const COLORREF face = platform::toColorRef(palette().color(QPalette::Button));
    const COLORREF text = platform::toColorRef(palette().color(QPalette::ButtonText));
    for (int i = 0; i < BTNST_MAX_COLORS; i += 2) {
        m_crColors[i] = face;
        m_crColors[i + 1] = text;
    }
    Repaint(repaint);
    return 0;
}

int CImageButton::SetBorderVisible(bool visible, bool repaint)
{
    m_bDrawBorder = visible;
    Repaint(repaint);
    return 0;
}

int CImageButton::SetFlatFocus(bool flatFocus, bool repaint)
{
    m_bFlatFocus = flatFocus;
    Repaint(repaint);
    return 0;
}

int CImageButton::SetHoverAlways(bool always)
{
    m_bAlwaysTrack = always;
    return 0;
}

int CImageButton::SetFlat(bool flat, bool repaint)
{
    m_bFlat = flat;
    if (!flat)
        m_bHover = false;
    Repaint(repaint);
    return 0;
}

int CImageButton::SetImageAlign(quint8 align, bool repaint)
{
    if (align > ST_ALIGN_HORIZ_RIGHT)
        return 4;
    m_nAlign = align;
    Repaint(repaint);
    return 0;
}

int CImageButton::SetCursorResource(const QString& path, bool repaint)
{
    m_cursor.reset();
    unsetCursor();
    int result = 0;
    if (!path.isEmpty()) {
        const QPixmap pixmap(path);
        if (pixmap.isNull()) {
            result = 1;
        } else {
            m_cursor = QCursor(pixmap);
            setCursor(*m_cursor);
        }
    }
    Repaint(repaint);
    return result;
}

void CImageButton::FreeImages()
{
    m_bIcons = false;
    m_iconIn = QIcon();
    m_iconOut = QIcon();
    m_imageIn = QPixmap();
    m_imageOut = QPixmap();
}

int CImageButton::LoadIcons(const QString& in, const QString& out)
{
    const QPixmap pixIn(in);
    const QPixmap pixOut = out.isEmpty() ? QPixmap() : QPixmap(out);
    return SetIconHandles(pixIn.isNull() ? QIcon() : QIcon(pixIn), pixOut.isNull() ? QIcon() : QIcon(pixOut));
}

int CImageButton::SetIconHandles(const QIcon& in, const QIcon& out)
{
    FreeImages();
    if (in.isNull() || in.availableSizes().isEmpty()) {
        update();
        return 1;
    }
    m_bIcons = true;
    m_iconIn = in;
    m_iconOut = out;
    const QSize inSize = in.availableSizes().front();
    m_imageIn = in.pixmap(inSize);
    if (!out.isNull() && !out.availableSizes().isEmpty())
        m_imageOut = out.pixmap(out.availableSizes().front());
    update();
    return 0;
}

int CImageButton::LoadBitmaps(const QString& in, COLORREF transparentIn, const QString& out, COLORREF transparentOut)
{
    const QImage imageIn(in);
    if (imageIn.isNull()) {
        // A missing bitmap is an error, not an empty button reported as loaded.
        FreeImages();
        update();
        return 1;
    }
    return SetBitmapHandles(imageIn, transparentIn, out.isEmpty() ? QImage() : QImage(out), transparentOut);
}

int CImageButton::SetBitmapHandles(const QImage& in, COLORREF transparentIn, const QImage& out, COLORREF transparentOut)
{
    FreeImages();
    if (!in.isNull()) {
        m_imageIn = maskedBitmap(in, transparentIn);
        if (!out.isNull())
            m_imageOut = maskedBitmap(out, transparentOut);
    }
    update();
    return 0;
}

int CImageButton::SetTipText(const QString& text, bool activate)
{
    m_strTip = text;
    return ActivateTip(activate);
}

int CImageButton::SetTipTextId(int id, bool activate)
{
    const QString text = platform::LoadString(id);
    if (text.isEmpty())
        return 0;
    return SetTipText(text, activate);
}

int CImageButton::ActivateTip(bool activate)
{
    m_bTipActive = activate;
    setToolTip(activate ? m_strTip : QString());
    return 0;
}

int CImageButton::SetTransparentMode(bool repaint)
{
    m_bTransparent = true;
    Repaint(repaint);
    return 0;
}

int CImageButton::SetLinkTarget(const QString& target)
{
    m_strLinkTarget = target.left(kMaxLinkTarget);
    return 0;
}

bool CImageButton::IsPressedLook() const
{
    return isDown() || (m_bCheckBox && m_nCheck != 0);
}

void CImageButton::OnClicked()
{
    if (m_bCheckBox) {
        m_nCheck = m_nCheck ? 0 : 1;
        update();
    } else if (!m_strLinkTarget.isEmpty()) {
        platform::ShellOpen(m_strLinkTarget);
    }
}

void CImageButton::CancelHover()
{
    if (m_bFlat && m_bHover) {
        m_bHover = false;
        update();
    }
}

void CImageButton::mouseMoveEvent(QMouseEvent* event)
{
    QPushButton::mouseMoveEvent(event);
    const bool leftDown = event->buttons() & Qt::LeftButton;
    if ((leftDown && !m_bHover) || !m_bFlat)
        return;
    // While the button holds the mouse, moves arrive from outside it too.
    const bool over = rect().contains(event->position().toPoint())
        && (m_bAlwaysTrack || QApplication::activeWindow() != nullptr);
    if (over) {
        if (!m_bHover) {
            m_bHover = true;
            update();
        }
    } else {
        CancelHover();
    }
}

void CImageButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    // A double click is a second press, so it clicks twice.
    mousePressEvent(event);
}

void CImageButton::leaveEvent(QEvent* event)
{
    CancelHover();
    QPushButton::leaveEvent(event);
}

void CImageButton::changeEvent(QEvent* event)
{
    QPushButton::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        // Focus goes on to the next tab item, else to the parent.
        if (window()->focusWidget() == this || hasFocus()) {
            if (!focusNextChild() && parentWidget())
                parentWidget()->setFocus();
        }
        CancelHover();
    }
}

QPixmap CImageButton::CurrentImage() const
{
    const bool pressed = IsPressedLook();
    const bool useOut = !m_imageOut.isNull() && !m_bHover && !pressed;
    if (m_bIcons && !isEnabled()) {
        const QIcon& icon = useOut ? m_iconOut : m_iconIn;
        return icon.pixmap(icon.availableSizes().front(), QIcon::Disabled);
    }
    return useOut ? m_imageOut : m_imageIn;
}

int CImageButton::PaintFace(QPainter& painter, const QRect& rect)
{
    int index = BTNST_COLOR_BK_OUT;
    if (m_bHover || IsPressedLook())
        index = BTNST_COLOR_BK_IN;
    else if (IsFocused())
        index = BTNST_COLOR_BK_FOCUS;
    painter.fillRect(rect, platform::toQColor(m_crColors[index]));
    return 0;
}

int CImageButton::PaintEdge(QPainter& painter, const QRect& rect)
{
    const QColor shadow = palette().color(QPalette::Dark);
    const QColor light = palette().color(QPalette::Light);
    const QColor topLeft = IsPressedLook() ? shadow : light;
    const QColor bottomRight = IsPressedLook() ? light : shadow;
    const int l = rect.left(), t = rect.top(), r = rect.right(), b = rect.bottom();
    painter.setPen(QPen(topLeft, 1));
    painter.drawLine(l, t, r, t);
    painter.drawLine(l, t, l, b);
    painter.setPen(QPen(bottomRight, 1));
    painter.drawLine(l, b, r, b);
    painter.drawLine(r, t, r, b);
    return 0;
}

void CImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool pressed = IsPressedLook();
    const bool focused = IsFocused();
    const bool disabled = !isEnabled();
    const QRect itemRect = rect();
    QRect r = itemRect;

    if (!m_bFlat && (focused || isDefault())) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        r.adjust(1, 1, -1, -1);
    }

    if (!m_bTransparent)
        PaintFace(painter, r);

    const QPalette& pal = palette();
    if (pressed) {
        if (!m_bFlat) {
            painter.setPen(QPen(pal.color(QPalette::Dark), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r.adjusted(0, 0, -1, -1));
        } else if (m_bDrawBorder) {
            PaintEdge(painter, r);
        }
    } else if (!m_bFlat) {
        // Edges as the item rectangle gives them: right and bottom lie just outside.
        const int L = r.left(), T = r.top(), R = r.left() + r.width(), B = r.top() + r.height();
        polyline(painter, pal.color(QPalette::Light), {{L, B - 1}, {L, T}, {R, T}});
        polyline(painter, pal.color(QPalette::Midlight), {{L + 1, B - 1}, {L + 1, T + 1}, {R, T + 1}});
        polyline(painter, pal.color(QPalette::Shadow), {{L, B - 1}, {R - 1, B - 1}, {R - 1, T - 1}});
        polyline(painter, pal.color(QPalette::Dark), {{L + 1, B - 2}, {R - 2, B - 2}, {R - 2, T}});
    } else if (m_bHover && m_bDrawBorder) {
        PaintEdge(painter, r);
    }

    const QString caption = text();
    const bool shift = pressed && !m_bCheckBox;
    QRect captionRect = r;
    const QPixmap image = CurrentImage();
    if (!image.isNull()) {
        const QSize size = image.deviceIndependentSize().toSize();
        QPoint at;
        if (caption.isEmpty()) {
            at = QPoint((itemRect.width() - size.width()) / 2, (itemRect.height() - size.height()) / 2);
        } else if (m_nAlign == ST_ALIGN_VERT) {
            at = QPoint((itemRect.width() - size.width()) / 2, 3);
            captionRect.setTop(captionRect.top() + size.height());
        } else if (m_nAlign == ST_ALIGN_HORIZ_RIGHT) {
            captionRect.setLeft(3);
            captionRect.setRight(itemRect.width() - size.width() - 3 - 1);
            at = QPoint(itemRect.width() - size.width() - 3, (itemRect.height() - size.height()) / 2);
        } else {
            at = QPoint(itemRect.left() + 3, (itemRect.height() - size.height()) / 2);
            captionRect.setLeft(captionRect.left() + size.width() + 3);
        }
        if (shift)
            at += QPoint(1, 1);
        painter.drawPixmap(at, image);
    }

    if (!caption.isEmpty()) {
        if (shift)
            captionRect.translate(1, 1);
        const int flags = Qt::TextWordWrap | Qt::AlignHCenter | Qt::TextShowMnemonic;
        QRect textRect = painter.fontMetrics().boundingRect(captionRect, flags, caption);
        textRect.moveCenter(captionRect.center());
        if (disabled) {
            painter.setPen(pal.color(QPalette::Light));
            painter.drawText(textRect.translated(1, 1), flags, caption);
            painter.setPen(pal.color(QPalette::Dark));
            painter.drawText(textRect, flags, caption);
        } else {
            const int fg = (m_bHover || pressed) ? BTNST_COLOR_FG_IN : BTNST_COLOR_FG_OUT;
            painter.setPen(platform::toQColor(m_crColors[fg]));
            painter.drawText(textRect, flags, caption);
        }
    }

    if (focused && (!m_bFlat || m_bFlatFocus)) {
        QPen pen(pal.color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(3, 3, -4, -4));
    }
}
