#include "controls/ms_flex_grid.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kBackRole = Qt::UserRole + 10;
constexpr int kForeRole = Qt::UserRole + 11;
constexpr int kAlignRole = Qt::UserRole + 12;
constexpr int kBoldRole = Qt::UserRole + 13;
constexpr int kTextInset = 2;

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

        QString text = index.data(Qt::DisplayRole).toString();
        if (!text.isEmpty()) {
            text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            text.replace(u'\r', u'\n');
            QFont font = option.font;
            font.setBold(index.data(kBoldRole).toBool());
            painter->setFont(font);
            // A busy calendar day may hold hundreds of lines; only those that can show are
            // laid out (each takes at least one line of the cell).
            const int fit = r.height() / std::max(1, QFontMetrics(font).lineSpacing()) + 1;
            qsizetype cut = -1;
            for (int line = 0; line < fit && (cut = text.indexOf(u'\n', cut + 1)) >= 0; ++line) {
            }
            if (cut >= 0)
                text.truncate(cut);
            painter->setPen(platform::toQColor(fore));
            const QVariant align = index.data(kAlignRole);
            int flags = int(toQtAlignment(align.isValid() ? align.toInt() : flexAlignGeneral));
            if (g.m_bWordWrap)
                flags |= Qt::TextWordWrap;
            painter->setClipRect(r);
            painter->drawText(r.adjusted(kTextInset, 0, -kTextInset, 0), flags, text);
        }

        if (g.m_nGridLines != 0) {
            painter->setClipping(false);
            painter->setPen(QPen(platform::toQColor(g.m_crGrid), 1));
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
    // The grid's defaults: two rows, two columns, one of each fixed.
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
    return int(qint64(value) * 1440 / qint64(logicalDpi(horizontal)));
}

int CMSFlexGrid::TwipsToPixels(int value, bool horizontal)
{
    return int(qint64(value) * qint64(logicalDpi(horizontal)) / 1440);
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
