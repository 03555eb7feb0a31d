#include "controls/caption_bar.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QTextLayout>

#include <algorithm>

namespace {

// The button-shadow colour of the current palette.
COLORREF ShadowColor()
{
    return platform::toColorRef(QApplication::palette().color(QPalette::Dark));
}

// Lays text out in lines of width pixels; returns the start of each line.
QList<int> LineStarts(const QString& text, const QFont& font, int width)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QList<int> starts;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        starts << line.textStart();
    }
    layout.endLayout();
    if (starts.isEmpty())
        starts << 0;
    return starts;
}

} // namespace

CCaptionBar::CCaptionBar(QWidget* parent)
    : QWidget(parent), m_font(CaptionFont(QString())), m_crBack(ShadowColor()), m_crBorder(ShadowColor())
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QFont CCaptionBar::CaptionFont(const QString& face)
{
    const QFont status = QApplication::font("QStatusBar");
    QFont font(status);
    font.setPixelSize(2 * std::max(1, QFontInfo(status).pixelSize()));
    if (!face.isEmpty())
        font.setFamily(face);
    return font;
}

void CCaptionBar::SetText(const QString& text)
{
    if (text == m_strCaption)
        return;
    m_strCaption = text;
    updateGeometry();
    update();
}

bool CCaptionBar::SetTitleFont(const QString& face)
{
    m_font = CaptionFont(face);
    updateGeometry();
    update();
    return true;
}

bool CCaptionBar::SetBitmap(const QString& path)
{
    m_bitmap = QPixmap();
    const bool loaded = !path.isEmpty() && m_bitmap.load(path);
    update();
    return loaded;
}

void CCaptionBar::SetBackColor(COLORREF color)
{
    m_crBack = color;
    update();
}

void CCaptionBar::SetBorderColor(COLORREF color)
{
    m_crBorder = color;
    update();
}

void CCaptionBar::SetTextColor(COLORREF color)
{
    m_crText = color;
    update();
}

QStringList CCaptionBar::WrapCaption(const QString& text, const QFont& font, int width, int height)
{
    const QList<int> starts = LineStarts(text, font, width);
    const QFontMetrics metrics(font);
    const int fitting = std::max(1, height / std::max(1, metrics.height()));
    QStringList lines;
    for (int i = 0; i < starts.size(); ++i) {
        const int end = i + 1 < starts.size() ? starts[i + 1] : int(text.size());
        if (i + 1 == fitting && end < text.size()) {
            lines << metrics.elidedText(text.mid(starts[i]).simplified(), Qt::ElideRight, std::max(1, width));
            break;
        }
        lines << text.mid(starts[i], end - starts[i]).trimmed();
    }
    return lines;
}

int CCaptionBar::CaptionHeightFor(int wrapWidth) const
{
    // The text is measured inside the borders; the bar adds them back.
    const int textWidth = wrapWidth - kLeftBorder - kRightBorder;
    const int lines = int(LineStarts(m_strCaption, m_font, textWidth).size());
    return lines * QFontMetrics(m_font).height() + kTopBorder + kBottomBorder;
}

QSize CCaptionBar::CalcFixedLayout(bool, bool) const
{
    return QSize(0x7FFF, CaptionHeightFor(m_nWrapWidth));
}

QSize CCaptionBar::sizeHint() const
{
    return QSize(kLeftBorder + kRightBorder + QFontMetrics(m_font).horizontalAdvance(m_strCaption),
                 CaptionHeightFor(m_nWrapWidth > 0 ? m_nWrapWidth : width()));
}

QSize CCaptionBar::minimumSizeHint() const
{
    return QSize(0, QFontMetrics(m_font).height() + kTopBorder + kBottomBorder);
}

void CCaptionBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int previous = m_nWrapWidth;
    m_nWrapWidth = event->size().width();
    if (previous != m_nWrapWidth && CaptionHeightFor(previous) != CaptionHeightFor(m_nWrapWidth))
        updateGeometry();
}

void CCaptionBar::paintEvent(QPaintEvent*)
{
    QPainter dc(this);
    OnPaint(dc);
}

void CCaptionBar::OnPaint(QPainter& dc)
{
    dc.fillRect(rect(), platform::toQColor(m_crBack));

    // Inside the borders, then two pixels more at the top and the bottom.
    const int left = kLeftBorder;
    const int top = kTopBorder - 2;
    const int right = width() - kRightBorder;
    const int bottom = height() - kBottomBorder + 2;

    dc.setFont(m_font);
    const QFontMetrics metrics(m_font);
    const int cx = metrics.horizontalAdvance(m_strCaption);

    // The tab shape: its right edge slants outwards towards the bottom.
    const int shapeBottom = bottom + 2;
    const QPolygon shape({QPoint(0, 0), QPoint(cx + 10, 0), QPoint(cx + 25, shapeBottom), QPoint(0, shapeBottom)});
    dc.setPen(Qt::NoPen);
    dc.setBrush(platform::toQColor(m_crBorder));
    dc.drawPolygon(shape, Qt::OddEvenFill);

    dc.setBrush(Qt::NoBrush);
    dc.setPen(platform::toQColor(m_crText));
    const QStringList lines = WrapCaption(m_strCaption, m_font, right - left, bottom - top);
    int y = top;
    for (const QString& line : lines) {
        dc.drawText(QPoint(left, y + metrics.ascent()), line);
        y += metrics.height();
    }

    if (!m_bitmap.isNull())
        dc.drawPixmap(right - m_bitmap.width(), (bottom - m_bitmap.height()) / 2, m_bitmap);
}
