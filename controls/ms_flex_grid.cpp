#include "controls/ms_flex_grid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kBackRole = Qt::UserRole + 10;
constexpr int kForeRole = Qt::UserRole + 11;
constexpr int kAlignRole = Qt::UserRole + 12;
constexpr int kBoldRole = Qt::UserRole + 13;
constexpr int kTextInset = 2;
constexpr COLORREF kFixedShadow = 0x808080;
constexpr QChar kEllipsis(0x2026);

// Where a cell's text goes: inside the padding, left of the grid line on the right and above
// the one at the bottom.
QRect textRoom(const QRect& cell)
{
    return cell.adjusted(kTextInset, 1, -kTextInset - 1, 1 - CMSFlexGrid::kCellPadding);
}

QString chopTrailingSpaces(QString text)
{
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

// Up to `limit` lines of one paragraph, wrapped to the width (a word wider than that breaks
// anywhere) or whole when wrap is off.
void appendWrapped(QStringList& lines, const QString& paragraph, const QFont& font, int width, bool wrap, qsizetype limit)
{
    if (!wrap || paragraph.isEmpty()) {
        lines.append(paragraph);
        return;
    }
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid() && lines.size() < limit; line = layout.createLine()) {
        line.setLineWidth(std::max(1, width));
        lines.append(chopTrailingSpaces(paragraph.mid(line.textStart(), line.textLength())));
    }
    layout.endLayout();
}

double logicalDpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY()) : 96.0;
    return dpi > 0 ? dpi : 96.0;
}

Qt::Alignment toQtAlignment(int code)
{
    switch (code) {
    case CMSFlexGrid::flexAlignLeftTop: return Qt::AlignLeft | Qt::AlignTop;
    case CMSFlexGrid::flexAlignLeftBottom: return Qt::AlignLeft | Qt::AlignBottom;
    case CMSFlexGrid::flexAlignCenterTop: return Qt::AlignHCenter | Qt::AlignTop;
    case CMSFlexGrid::flexAlignCenterCenter: return Qt::AlignCenter;
    case CMSFlexGrid::flexAlignCenterBottom: return Qt::AlignHCenter | Qt::AlignBottom;
    case CMSFlexGrid::flexAlignRightTop: return Qt::AlignRight | Qt::AlignTop;
    case CMSFlexGrid::flexAlignRightCenter: return Qt::AlignRight | Qt::AlignVCenter;
    case CMSFlexGrid::flexAlignRightBottom: return Qt::AlignRight | Qt::AlignBottom;
    default: return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

} // namespace

// Paints a cell from the grid's properties only; the view's own selection look is not used.
class CMSFlexGrid::Delegate final : public QStyledItemDelegate {
public:
    explicit Delegate(CMSFlexGrid* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const CMSFlexGrid& g = *m_grid;
        const int row = index.row();
        const int col = index.column();
        const bool fixed = row < g.m_nFixedRows || col < g.m_nFixedCols;
        const bool current = row == g.m_nRow && col == g.m_nCol;
        const bool lit = !fixed && current
            && (g.m_nHighLight == 1 || (g.m_nHighLight == 2 && g.hasFocus()));

        const COLORREF cellBack = index.data(kBackRole).value<COLORREF>();
        const COLORREF cellFore = index.data(kForeRole).value<COLORREF>();
        COLORREF back = cellBack ? cellBack : (fixed ? g.m_crBackFixed : g.m_crBack);
        COLORREF fore = cellFore ? cellFore : g.m_crFore;
        if (lit) {
            back = g.m_crBackSel;
            fore = g.m_crForeSel;
        }

        painter->save();
        const QRect r = option.rect;
        painter->fillRect(r, platform::toQColor(back));

        const QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            const bool bold = index.data(kBoldRole).toBool();
            QFont font = g.font();
            font.setBold(bold);
            painter->setFont(font);
            painter->setPen(platform::toQColor(fore));
            const QVariant align = index.data(kAlignRole);
            const Qt::Alignment alignment = toQtAlignment(align.isValid() ? align.toInt() : flexAlignGeneral);
            const QStringList lines = g.CellLines(text, bold, r.size());
            const int lineHeight = g.LineHeight(bold);
            // The lines stand as one block in the room between the padding and the grid line.
            const QRect room = textRoom(r);
            const int block = int(lines.size()) * lineHeight;
            int y = room.top();
            if (alignment & Qt::AlignVCenter)
                y += (room.height() - block) / 2;
            else if (alignment & Qt::AlignBottom)
                y += room.height() - block;
            painter->setClipRect(r);
            for (const QString& line : lines) {
                painter->drawText(QRect(room.left(), y, room.width(), lineHeight),
                                  int(alignment & Qt::AlignHorizontal_Mask) | Qt::AlignTop | Qt::TextSingleLine, line);
                y += lineHeight;
            }
        }

        if (g.m_nGridLines != 0) {
            painter->setClipping(false);
            if (fixed) {
                // Fixed cells stand out like header buttons.
                painter->setPen(QPen(Qt::white, 1));
                painter->drawLine(r.left(), r.top(), r.right() - 1, r.top());
                painter->drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
                painter->setPen(QPen(platform::toQColor(kFixedShadow), 1));
            } else {
                painter->setPen(QPen(platform::toQColor(g.m_crGrid), 1));
            }
            painter->drawLine(r.right(), r.top(), r.right(), r.bottom());
            painter->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        }
        if (current && g.m_nFocusRect != 0 && g.hasFocus()) {
            painter->setPen(QPen(Qt::black, 1, Qt::DotLine));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(r.adjusted(1, 1, -2, -2));
        }
        painter->restore();
    }

private:
    CMSFlexGrid* m_grid;
};

CMSFlexGrid::CMSFlexGrid(QWidget* parent) : QTableWidget(parent)
{
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setMinimumSectionSize(0);
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(false);
    setWordWrap(false);
    setItemDelegate(new Delegate(this));
    viewport()->setAutoFillBackground(true);
    SetBackColorBkg(m_crBackBkg);
    // The grid's defaults: rows one line high, columns of 960 twips, two of each, one of each
    // fixed.
    verticalHeader()->setDefaultSectionSize(RowHeightForLines(1));
    horizontalHeader()->setDefaultSectionSize(TwipsToPixels(960, true));
    SetRows(2);
    SetCols(2);
    SetFixedRows(1);
    SetFixedCols(1);

    connect(this, &QTableWidget::currentCellChanged, this,
            [this](int row, int col, int, int) { onCurrentCellChanged(row, col); });
    connect(this, &QTableWidget::cellClicked, this, [this](int, int) { emit Click(); });
    connect(this, &QTableWidget::cellDoubleClicked, this, [this](int, int) { emit DblClick(); });
}

CMSFlexGrid::~CMSFlexGrid() = default;

int CMSFlexGrid::PixelsToTwips(int value, bool horizontal)
{
    return int(std::lround(double(value) * 1440.0 / logicalDpi(horizontal)));
}

int CMSFlexGrid::TwipsToPixels(int value, bool horizontal)
{
    return int(std::lround(double(value) * logicalDpi(horizontal) / 1440.0));
}

int CMSFlexGrid::LineHeight(bool bold) const
{
    QFont f = font();
    f.setBold(bold);
    return std::max(1, QFontMetrics(f).lineSpacing());
}

int CMSFlexGrid::RowHeightForLines(int lines, bool bold) const
{
    return std::max(0, lines) * LineHeight(bold) + kCellPadding;
}

int CMSFlexGrid::LinesInRow(int pixels, bool bold) const
{
    return std::max(0, (pixels - kCellPadding) / LineHeight(bold));
}

QStringList CMSFlexGrid::CellLines(const QString& text, bool bold, QSize cell) const
{
    QStringList lines;
    const int fit = LinesInRow(cell.height(), bold);
    if (text.isEmpty() || fit <= 0)
        return lines;
    QFont f = font();
    f.setBold(bold);
    const int width = textRoom(QRect(QPoint(0, 0), cell)).width();
    // A busy calendar day may hold hundreds of lines: only those that show, and one more to
    // tell whether the text goes on, are laid out.
    const qsizetype limit = fit + 1;
    for (qsizetype pos = 0; lines.size() < limit;) {
        qsizetype end = pos;
        while (end < text.size() && text[end] != u'\r' && text[end] != u'\n')
            ++end;
        appendWrapped(lines, text.mid(pos, end - pos), f, width, m_bWordWrap, limit);
        if (end >= text.size())
            break;
        pos = end + (text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n' ? 2 : 1);
    }
    if (lines.size() > fit) {
        lines.resize(fit);
        // The last line shown gives room for the mark that more follows.
        const QFontMetrics metrics(f);
        QString& last = lines.back();
        while (!last.isEmpty() && metrics.horizontalAdvance(last + kEllipsis) > width)
            last.chop(last.size() > 1 && last.back().isLowSurrogate() ? 2 : 1);
        last = chopTrailingSpaces(last) + kEllipsis;
    }
    return lines;
}

QStringList CMSFlexGrid::ShownLines(long row, long col) const
{
    const QTableWidgetItem* it = cell(row, col);
    if (!it)
        return {};
    return CellLines(it->text(), it->data(kBoldRole).toBool(), QSize(columnWidth(int(col)), rowHeight(int(row))));
}

void CMSFlexGrid::CoverWithCells()
{
    const QSize room = contentsRect().size();
    int high = 0;
    for (int row = 0; row < rowCount(); ++row)
        high += rowHeight(row);
    int wide = 0;
    for (int col = 0; col < columnCount(); ++col)
        wide += columnWidth(col);
    const int rowStep = std::max(1, verticalHeader()->defaultSectionSize());
    const int colStep = std::max(1, horizontalHeader()->defaultSectionSize());
    if (high < room.height())
        SetRows(rowCount() + (room.height() - high + rowStep - 1) / rowStep);
    if (wide < room.width())
        SetCols(columnCount() + (room.width() - wide + colStep - 1) / colStep);
}

QTableWidgetItem* CMSFlexGrid::cell(long row, long col)
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return nullptr;
    QTableWidgetItem* it = item(int(row), int(col));
    if (!it) {
        it = new QTableWidgetItem;
        it->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        setItem(int(row), int(col), it);
    }
    return it;
}

const QTableWidgetItem* CMSFlexGrid::cell(long row, long col) const
{
    if (row < 0 || row >= rowCount() || col < 0 || col >= columnCount())
        return nullptr;
    return item(int(row), int(col));
}

void CMSFlexGrid::syncCurrent()
{
    // Moving the current cell by property is not a user's selection.
    ++m_nSyncing;
    if (m_nRow < rowCount() && m_nCol < columnCount())
        setCurrentCell(int(m_nRow), int(m_nCol));
    --m_nSyncing;
    viewport()->update();
}

void CMSFlexGrid::onCurrentCellChanged(int row, int col)
{
    if (m_nSyncing || row < 0 || col < 0)
        return;
    m_nRow = row;
    m_nCol = col;
    viewport()->update();
    emit SelChange();
}

void CMSFlexGrid::SetRows(long rows)
{
    ++m_nSyncing;
    setRowCount(int(std::max(0L, rows)));
    --m_nSyncing;
    if (m_nRow >= rowCount())
        m_nRow = std::max(0L, long(rowCount()) - 1);
}

void CMSFlexGrid::SetCols(long cols)
{
    ++m_nSyncing;
    setColumnCount(int(std::max(0L, cols)));
    --m_nSyncing;
    if (m_nCol >= columnCount())
        m_nCol = std::max(0L, long(columnCount()) - 1);
}

void CMSFlexGrid::SetFixedRows(long rows)
{
    m_nFixedRows = std::clamp(rows, 0L, long(rowCount()));
    viewport()->update();
}

void CMSFlexGrid::SetFixedCols(long cols)
{
    m_nFixedCols = std::clamp(cols, 0L, long(columnCount()));
    viewport()->update();
}

void CMSFlexGrid::SetRow(long row)
{
    if (row < 0 || row >= rowCount())
        return;
    m_nRow = row;
    syncCurrent();
}

void CMSFlexGrid::SetCol(long col)
{
    if (col < 0 || col >= columnCount())
        return;
    m_nCol = col;
    syncCurrent();
}

void CMSFlexGrid::SetText(const QString& text)
{
    SetTextMatrix(m_nRow, m_nCol, text);
}

QString CMSFlexGrid::GetText() const
{
    return GetTextMatrix(m_nRow, m_nCol);
}

void CMSFlexGrid::SetTextMatrix(long row, long col, const QString& text)
{
    if (QTableWidgetItem* it = cell(row, col))
        it->setText(text);
}

QString CMSFlexGrid::GetTextMatrix(long row, long col) const
{
    const QTableWidgetItem* it = cell(row, col);
    return it ? it->text() : QString();
}

void CMSFlexGrid::SetCellBackColor(COLORREF color)
{
    if (QTableWidgetItem* it = cell(m_nRow, m_nCol))
        it->setData(kBackRole, QVariant::fromValue(color));
}

COLORREF CMSFlexGrid::GetCellBackColor() const
{
    const QTableWidgetItem* it = cell(m_nRow, m_nCol);
    return it ? it->data(kBackRole).value<COLORREF>() : 0;
}

void CMSFlexGrid::SetCellForeColor(COLORREF color)
{
    if (QTableWidgetItem* it = cell(m_nRow, m_nCol))
        it->setData(kForeRole, QVariant::fromValue(color));
}

COLORREF CMSFlexGrid::GetCellForeColor() const
{
    const QTableWidgetItem* it = cell(m_nRow, m_nCol);
    return it ? it->data(kForeRole).value<COLORREF>() : 0;
}

void CMSFlexGrid::SetCellAlignment(short alignment)
{
    if (QTableWidgetItem* it = cell(m_nRow, m_nCol))
        it->setData(kAlignRole, int(alignment));
}

short CMSFlexGrid::GetCellAlignment() const
{
    const QTableWidgetItem* it = cell(m_nRow, m_nCol);
    const QVariant value = it ? it->data(kAlignRole) : QVariant();
    return value.isValid() ? short(value.toInt()) : short(flexAlignGeneral);
}

void CMSFlexGrid::SetCellFontBold(bool bold)
{
    if (QTableWidgetItem* it = cell(m_nRow, m_nCol))
        it->setData(kBoldRole, bold);
}

bool CMSFlexGrid::GetCellFontBold() const
{
    const QTableWidgetItem* it = cell(m_nRow, m_nCol);
    return it && it->data(kBoldRole).toBool();
}

void CMSFlexGrid::SetRowHeight(long row, long twips)
{
    if (row >= 0 && row < rowCount())
        setRowHeight(int(row), std::max(0, TwipsToPixels(int(twips), false)));
}

long CMSFlexGrid::GetRowHeight(long row) const
{
    return row >= 0 && row < rowCount() ? PixelsToTwips(rowHeight(int(row)), false) : 0;
}

void CMSFlexGrid::SetColWidth(long col, long twips)
{
    if (col >= 0 && col < columnCount())
        setColumnWidth(int(col), std::max(0, TwipsToPixels(int(twips), true)));
}

long CMSFlexGrid::GetColWidth(long col) const
{
    return col >= 0 && col < columnCount() ? PixelsToTwips(columnWidth(int(col)), true) : 0;
}

void CMSFlexGrid::SetBackColor(COLORREF color)
{
    m_crBack = color;
    viewport()->update();
}

void CMSFlexGrid::SetBackColorBkg(COLORREF color)
{
    m_crBackBkg = color;
    QPalette pal = viewport()->palette();
    pal.setColor(QPalette::Base, platform::toQColor(color));
    pal.setColor(QPalette::Window, platform::toQColor(color));
    viewport()->setPalette(pal);
}

void CMSFlexGrid::SetBackColorSel(COLORREF color)
{
    m_crBackSel = color;
    viewport()->update();
}

void CMSFlexGrid::SetForeColor(COLORREF color)
{
    m_crFore = color;
    viewport()->update();
}

void CMSFlexGrid::SetGridColor(COLORREF color)
{
    m_crGrid = color;
    viewport()->update();
}

void CMSFlexGrid::SetScrollBars(short scrollBars)
{
    setHorizontalScrollBarPolicy((scrollBars & 1) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy((scrollBars & 2) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void CMSFlexGrid::SetAllowUserResizing(short mode)
{
    const auto resize = mode ? QHeaderView::Interactive : QHeaderView::Fixed;
    horizontalHeader()->setSectionResizeMode(resize);
    verticalHeader()->setSectionResizeMode(resize);
}

void CMSFlexGrid::SetWordWrap(bool wrap)
{
    m_bWordWrap = wrap;
    viewport()->update();
}

void CMSFlexGrid::SetFocusRect(short focusRect)
{
    m_nFocusRect = focusRect;
    viewport()->update();
}

void CMSFlexGrid::SetHighLight(short highLight)
{
    m_nHighLight = highLight;
    viewport()->update();
}

void CMSFlexGrid::SetGridLines(short gridLines)
{
    m_nGridLines = gridLines;
    viewport()->update();
}

void CMSFlexGrid::Refresh()
{
    viewport()->update();
}
