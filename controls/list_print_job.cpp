#include "controls/list_print_job.h"

#include "controls/record_list_ctrl.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace listprint {

QList<int> ScaleEdges(const QList<int>& widths, int pageWidth)
{
    QList<int> edges(widths.size() + 1, 0);
    for (int i = 0; i < widths.size(); ++i)
        edges[i + 1] = edges[i] + std::max(0, widths[i]);
    const int total = edges.back();
    if (total <= 0)
        return edges;
    const double factor = double(pageWidth) / double(total);
    for (int& edge : edges)
        edge = int(edge * factor);
    return edges;
}

int RowsPerPage(int height, int bodyHeight)
{
    const int rows = height / std::max(1, bodyHeight + 1) - 1;
    return std::max(1, rows);
}

int PageCount(int rows, int rowsPerPage)
{
    rowsPerPage = std::max(1, rowsPerPage);
    return std::max(1, (rows + rowsPerPage - 1) / rowsPerPage);
}

QString FormatPageNumber(const QString& format, int page, int count)
{
    // The format comes from a string table, so it is never handed to a printf.
    QString out;
    int next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] == u'%' && i + 1 < format.size()) {
            if (format[i + 1] == u'd') {
                out += QString::number(next == 0 ? page : (next == 1 ? count : 0));
                ++next;
                ++i;
                continue;
            }
            if (format[i + 1] == u'%') {
                out += u'%';
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

} // namespace listprint

namespace {

QString forDrawing(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString firstLine(const QString& text)
{
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

Qt::Alignment horizontalAlignment(int format)
{
    const auto align = Qt::Alignment(format);
    if (align & Qt::AlignHCenter)
        return Qt::AlignHCenter;
    if (align & Qt::AlignRight)
        return Qt::AlignRight;
    return Qt::AlignLeft;
}

} // namespace

CListPrintJob::CListPrintJob() = default;

CListPrintJob::~CListPrintJob() = default;

void CListPrintJob::SetMargins(int left, int top, int right, int bottom)
{
    m_nMarginLeft = left;
    m_nMarginTop = top;
    m_nMarginRight = right;
    m_nMarginBottom = bottom;
}

bool CListPrintJob::OnPreparePrinting(CPrintInfo* info, bool prepared)
{
    info->SetMinPage(1);
    if (!m_pList)
        return false;
    m_nRows = m_pList->GetItemCount();
    if (m_nRows <= 0)
        return false;
    const QHeaderView* header = m_pList->header();
    m_nColumns = header->count();
    if (m_nColumns <= 0)
        return false;

    m_edges = QList<int>(m_nColumns + 1, 0);
    m_formats.clear();
    m_titles.clear();
    const QTreeWidgetItem* titles = m_pList->headerItem();
    for (int i = 0; i < m_nColumns; ++i) {
        m_edges[i + 1] = header->sectionSize(i);
        m_formats.append(titles->textAlignment(i));
        m_titles.append(titles->text(i).left(128));
    }
    return CPrintJob::OnPreparePrinting(info, prepared);
}

QFont CListPrintJob::deviceFont(const QString& face, int points) const
{
    QFont font(face);
    font.setPointSize(points);
    return m_pPrinter ? QFont(font, m_pPrinter) : font;
}

QRect CListPrintJob::MmToDevice(const QRect& rect) const
{
    const double dpiX = m_pPrinter ? m_pPrinter->logicalDpiX() : 96.0;
    const double dpiY = m_pPrinter ? m_pPrinter->logicalDpiY() : 96.0;
    const auto toX = [&](int mm) { return int(std::lround(mm * dpiX / 25.4)); };
    const auto toY = [&](int mm) { return int(std::lround(mm * dpiY / 25.4)); };
    return rect.adjusted(toX(m_nMarginLeft), toY(m_nMarginTop), -toX(m_nMarginRight), -toY(m_nMarginBottom));
}

void CListPrintJob::OnBeginPrinting(QPainter*, CPrintInfo* info)
{
    m_pPrinter = info->m_pPrinter;
    m_fontBody = deviceFont(m_strBodyFace, m_nBodySize);
    m_fontTitle = deviceFont(m_strTitleFace, m_nTitleSize);
    m_fontFooter = deviceFont(m_strFooterFace, m_nFooterSize);
    m_sizeBody = QFontMetrics(m_fontBody).size(Qt::TextSingleLine, QStringLiteral("X"));
    m_sizeTitle = QFontMetrics(m_fontTitle).size(Qt::TextSingleLine, QStringLiteral("X"));
    m_sizeFooter = QFontMetrics(m_fontFooter).size(Qt::TextSingleLine, QStringLiteral("X"));
    m_sizeBody.rheight() += 4;
    m_sizeTitle.rheight() += 4;

    QRect page = MmToDevice(info->m_rectDraw);
    QList<int> widths;
    for (int i = 0; i < m_nColumns; ++i)
        widths.append(m_edges[i + 1]);
    m_edges = listprint::ScaleEdges(widths, page.width());

    PrintTableRow(nullptr, page, false);
    PrintTitle(nullptr, page, info, false);
    m_nBottomArea = PrintFooter(nullptr, page, false) + 2;
    const int remaining = page.height() - m_nBottomArea;

    m_nRowsPerPage = listprint::RowsPerPage(remaining, m_sizeBody.height());
    info->SetMaxPage(unsigned(listprint::PageCount(m_nRows, m_nRowsPerPage)));
}

void CListPrintJob::PrintTitle(QPainter* painter, QRect& rect, const CPrintInfo* info, bool draw) const
{
    const QFontMetrics metrics(m_fontTitle);
    constexpr int kTallEnough = 1 << 20;
    int pageTextHeight = 0;
    int blockHeight = 0;
    if (draw)
        painter->setFont(m_fontTitle);
    if (!m_strPageFormat.isEmpty()) {
        const QString text = listprint::FormatPageNumber(m_strPageFormat, int(info->m_nCurPage), int(info->m_nMaxPage));
        const int flags = Qt::TextWordWrap | Qt::AlignRight;
        QRect box = metrics.boundingRect(QRect(rect.left(), rect.top(), rect.width(), kTallEnough), flags, text);
        box.moveRight(rect.right());
        box.moveTop(rect.top());
        if (draw)
            painter->drawText(box, flags, text);
        pageTextHeight = box.height();
        blockHeight = box.height();
    }
    if (!m_strTitle.isEmpty()) {
        const QString text = forDrawing(m_strTitle);
        const int width = std::max(1, rect.width() - pageTextHeight);
        const QRect box = metrics.boundingRect(QRect(rect.left(), rect.top(), width, kTallEnough), Qt::TextWordWrap, text);
        if (draw)
            painter->drawText(QRect(rect.left(), rect.top(), width, box.height()), Qt::TextWordWrap, text);
        blockHeight = std::max(blockHeight, box.height());
    }
    rect.setTop(rect.top() + blockHeight);
}

void CListPrintJob::drawCell(QPainter* painter, const QRect& cell, const QString& text, int column) const
{
    // Each cell is a white box with its left and top lines; its neighbours close it.
    painter->setPen(QPen(Qt::black, 0));
    painter->setBrush(Qt::white);
    painter->drawRect(cell.adjusted(0, 0, -1, -1));
    painter->drawLine(cell.topLeft(), cell.bottomLeft());
    painter->drawLine(cell.topLeft(), cell.topRight());
    if (text.isEmpty())
        return;
    const int inset = m_sizeBody.width() / 2;
    const QRect textRect = cell.adjusted(inset, 0, -inset, 0);
    if (textRect.width() <= 0)
        return;
    painter->save();
    painter->setClipRect(cell);
    const Qt::Alignment align = horizontalAlignment(column < m_formats.size() ? m_formats[column] : 0);
    painter->drawText(textRect, int(align | Qt::AlignVCenter | Qt::TextSingleLine), firstLine(text));
    painter->restore();
}

void CListPrintJob::PrintTableRow(QPainter* painter, QRect& rect, bool draw) const
{
    const int height = m_sizeBody.height();
    if (draw) {
        painter->setFont(m_fontBody);
        painter->setPen(QPen(Qt::black, 0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(QRect(rect.left(), rect.top(), m_edges.back(), height));
        for (int j = 0; j < m_nColumns; ++j) {
            const QRect cell(QPoint(rect.left() + m_edges[j], rect.top()), QPoint(rect.left() + m_edges[j + 1], rect.top() + height));
            drawCell(painter, cell, m_titles.value(j), j);
        }
    }
    rect.setTop(rect.top() + height);
}

int CListPrintJob::PrintFooter(QPainter* painter, const QRect& rect, bool draw) const
{
    const QString text = forDrawing(m_strFooter);
    const QFontMetrics metrics(m_fontFooter);
    const QRect box = metrics.boundingRect(QRect(rect.left(), 0, rect.width(), 1 << 20), Qt::TextWordWrap, text);
    if (draw) {
        painter->setFont(m_fontFooter);
        painter->setPen(Qt::black);
        painter->drawText(QRect(rect.left(), rect.top(), rect.width(), box.height()), Qt::TextWordWrap, text);
    }
    return box.height();
}

void CListPrintJob::OnPrint(QPainter* painter, CPrintInfo* info)
{
    QRect page = MmToDevice(info->m_rectDraw);
    const QRect full = page;
    painter->setBackgroundMode(Qt::TransparentMode);
    painter->setPen(Qt::black);
    PrintTitle(painter, page, info, true);
    PrintTableRow(painter, page, true);

    painter->setFont(m_fontBody);
    const int height = m_sizeBody.height();
    const int first = (int(info->m_nCurPage) - 1) * m_nRowsPerPage;
    int top = page.top();
    for (int row = first; row < first + m_nRowsPerPage; ++row) {
        // Rows past the end of the list stay as empty ruled rows.
        const bool exists = row < m_nRows && m_pList && row < m_pList->GetItemCount();
        for (int j = 0; j < m_nColumns; ++j) {
            const QRect cell(QPoint(page.left() + m_edges[j], top), QPoint(page.left() + m_edges[j + 1], top + height));
            drawCell(painter, cell, exists ? m_pList->GetItemText(row, j) : QString(), j);
        }
        painter->drawLine(page.left() + m_edges.back(), top, page.left() + m_edges.back(), top + height);
        top += height + 1;
    }
    painter->drawLine(page.left(), top, page.left() + m_edges.back(), top);

    QRect footer = full;
    footer.setTop(full.bottom() - m_nBottomArea);
    PrintFooter(painter, footer, true);
}

void CListPrintJob::OnEndPrinting(QPainter*, CPrintInfo*) {}
