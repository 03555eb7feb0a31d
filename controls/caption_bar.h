#pragma once

#include "platform/colorref.h"

#include <QFont>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QWidget>

class QPainter;

// The bar along the top of the main window that names the current page in large type on a
// slanted tab shape. Its height follows the caption, wrapped to the bar's width. No input.
class CCaptionBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int kLeftBorder = 4;
    static constexpr int kRightBorder = 4;
    static constexpr int kTopBorder = 1;
    static constexpr int kBottomBorder = 1;

    explicit CCaptionBar(QWidget* parent = nullptr);

    // Stores and repaints when the text differs; an equal text changes nothing.
    void SetText(const QString& text);
    QString GetText() const { return m_strCaption; }
    // The caption font in this face, twice the height of the status-bar font.
    bool SetTitleFont(const QString& face);
    const QFont& GetTitleFont() const { return m_font; }
    // A picture at the right end of the bar; false (and none) when it cannot be loaded.
    bool SetBitmap(const QString& path);
    void SetBackColor(COLORREF color);
    void SetBorderColor(COLORREF color); // the tab shape's fill
    void SetTextColor(COLORREF color);
    COLORREF GetBackColor() const { return m_crBack; }
    COLORREF GetBorderColor() const { return m_crBorder; }
    COLORREF GetTextColor() const { return m_crText; }

    // The bar's size at the last layout width: it stretches, and is as high as the wrapped
    // caption plus the top and bottom borders.
    QSize CalcFixedLayout(bool stretch, bool horizontal) const;
    int CaptionHeightFor(int wrapWidth) const;

    // The lines drawn for text in a box of width x height: wrapped at word boundaries (inside
    // a word only when it is wider than the line), the last line that fits ending in an
    // ellipsis when more text follows.
    static QStringList WrapCaption(const QString& text, const QFont& font, int width, int height);

    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return CaptionHeightFor(width); }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

    void OnPaint(QPainter& dc);

private:
    static QFont CaptionFont(const QString& face);

    int m_nWrapWidth = 0;
    QFont m_font;
    QString m_strCaption = QStringLiteral("default");
    QPixmap m_bitmap;
    COLORREF m_crBack;
    COLORREF m_crBorder;
    COLORREF m_crText = 0xFFFFFF;
};
