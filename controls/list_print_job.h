#pragma once

#include "controls/print_job.h"

#include <QFont>
#include <QList>
#include <QSize>
#include <QStringList>

class CRecordListCtrl;
class QFontMetrics;

// Page arithmetic of the list printer, apart from any printer.
namespace listprint {

// Cumulative column edges (first 0) from the column widths, scaled to the page width; a
// table without width is not scaled.
QList<int> ScaleEdges(const QList<int>& widths, int pageWidth);
// Rows that fit below the title and header: always at least one.
int RowsPerPage(int height, int bodyHeight);
// Pages for the rows: at least one, and no page left empty by an exact multiple.
int PageCount(int rows, int rowsPerPage);
// The page-number text: each "%d" in turn takes the page, then the page count; "%%" is a
// percent sign; other text stays as it is.
QString FormatPageNumber(const QString& format, int page, int count);

} // namespace listprint

// Prints the rows of a record list as a ruled table: a title block with the page number at
// the top right, a header row with the column titles, the cells with the list's column
// widths scaled to the paper, and a footer text at the bottom left.
class CListPrintJob : public CPrintJob {
public:
    CListPrintJob();
    ~CListPrintJob() override;

    void SetList(const CRecordListCtrl* list) { m_pList = list; }
    void SetTitle(const QString& title) { m_strTitle = title; }
    void SetFooter(const QString& footer) { m_strFooter = footer; }
    void SetPageFormat(const QString& format) { m_strPageFormat = format; }
    // Margins in millimetres.
    void SetMargins(int left, int top, int right, int bottom);

    void OnPrint(QPainter* painter, CPrintInfo* info) override;
    void OnEndPrinting(QPainter* painter, CPrintInfo* info) override;
    void OnBeginPrinting(QPainter* painter, CPrintInfo* info) override;
    bool OnPreparePrinting(CPrintInfo* info, bool prepared) override;

    int GetRowsPerPage() const { return m_nRowsPerPage; }
    int GetRowCount() const { return m_nRows; }
    const QList<int>& GetEdges() const { return m_edges; }

protected:
    // The rectangle less the margins, in device pixels.
    QRect MmToDevice(const QRect& rect) const;
    // Each measures (draw false) or draws, and moves the rectangle's top down past itself
    // (the footer: returns its height and leaves the rectangle).
    void PrintTitle(QPainter* painter, QRect& rect, const CPrintInfo* info, bool draw) const;
    void PrintTableRow(QPainter* painter, QRect& rect, bool draw) const;
    int PrintFooter(QPainter* painter, const QRect& rect, bool draw) const;

private:
    QFont deviceFont(const QString& face, int points) const;
    void drawCell(QPainter* painter, const QRect& cell, const QString& text, int column) const;

    int m_nMarginLeft = 10;
    int m_nMarginTop = 10;
    int m_nMarginRight = 10;
    int m_nMarginBottom = 10;
    QFont m_fontBody;
    QFont m_fontTitle;
    QFont m_fontFooter;
    QSize m_sizeBody;
    QSize m_sizeTitle;
    QSize m_sizeFooter;
    QList<int> m_edges;
    QList<int> m_formats;
    QStringList m_titles;
    int m_nRowsPerPage = 1;
    int m_nColumns = 0;
    int m_nBottomArea = 0;
    int m_nRows = 0;
    const CRecordListCtrl* m_pList = nullptr;
    QPrinter* m_pPrinter = nullptr;
    QString m_strTitle;
    QString m_strFooter;
    QString m_strPageFormat;
    QString m_strTitleFace = QStringLiteral("Tahoma");
    QString m_strFooterFace = QStringLiteral("Times New Roman");
    QString m_strBodyFace = QStringLiteral("Tahoma");
    int m_nTitleSize = 12;
    int m_nFooterSize = 6;
    int m_nBodySize = 8;
};
