#include "controls/list_print_job.h"
#include "controls/record_list_ctrl.h"
#include "platform/string_table.h"
#include "support/recording_ui_services.h"

#include <QFile>
#include <QHeaderView>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ListPrintArithmetic, EdgesScaleToThePage)
{
    EXPECT_EQ(listprint::ScaleEdges({60, 100, 100}, 520), QList<int>({0, 120, 320, 520}));
    EXPECT_EQ(listprint::ScaleEdges({50, 50}, 99), QList<int>({0, 49, 99}));
    // A table without width stays unscaled instead of dividing by zero.
    EXPECT_EQ(listprint::ScaleEdges({0, 0, 0}, 500), QList<int>({0, 0, 0, 0}));
    EXPECT_EQ(listprint::ScaleEdges({}, 500), QList<int>({0}));
}

TEST(ListPrintArithmetic, RowsAndPages)
{
    EXPECT_EQ(listprint::RowsPerPage(1000, 19), 49);
    EXPECT_EQ(listprint::RowsPerPage(30, 19), 1); // a page too small still takes one row
    EXPECT_EQ(listprint::RowsPerPage(-50, 19), 1);
    struct Case {
        int rows;
        int perPage;
        int pages;
    };
    const Case cases[] = {{1, 10, 1}, {10, 10, 1}, {11, 10, 2}, {20, 10, 2}, {130, 43, 4}, {5, 0, 5}, {0, 10, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(listprint::PageCount(c.rows, c.perPage), c.pages) << c.rows << " / " << c.perPage;
}

TEST(ListPrintArithmetic, PageNumberFormat)
{
    EXPECT_EQ(listprint::FormatPageNumber("Page %d of %d", 2, 5), "Page 2 of 5");
    EXPECT_EQ(listprint::FormatPageNumber(u"\u7B2C %d \u9875"_qs, 3, 9), u"\u7B2C 3 \u9875"_qs);
    // Nothing but %d and %% is interpreted.
    EXPECT_EQ(listprint::FormatPageNumber("%s%n 100%% %d %d %d", 1, 2), "%s%n 100% 1 2 0");
    EXPECT_EQ(listprint::FormatPageNumber("end %", 1, 1), "end %");
}

// Counts the pages it prints.
class CountingJob : public CListPrintJob {
public:
    void OnPrint(QPainter* painter, CPrintInfo* info) override
    {
        pages << info->m_nCurPage;
        CListPrintJob::OnPrint(painter, info);
    }
    QList<unsigned> pages;
};

class ListPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        list.SetColumns("No,1,Name,0,Mobile Num,3,E-mail,0", false);
        list.header()->resizeSection(3, 200);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(pdfPath());
        job.SetPrinter(&printer);
        job.SetList(&list);
        job.SetTitle("Phonebook\r\n\r\n");
        job.SetFooter("Deskhand");
        job.SetPageFormat("Page %d of %d");
    }

    QString pdfPath() const { return dir.filePath("list.pdf"); }

    void addRows(int count)
    {
        for (int i = 1; i <= count; ++i)
            list.AddRow({QString("Name %1").arg(i, 3, 10, QChar(u'0')), QString("+86139%1").arg(i, 8, 10, QChar(u'0')),
                         QString("user%1@example.com").arg(i)},
                        0);
    }

    // The PDF's text page by page, or an empty list when pdftotext is not installed.
    QStringList pdfPages() const
    {
        const QString tool = QStandardPaths::findExecutable("pdftotext");
        if (tool.isEmpty())
            return {};
        QProcess process;
        process.start(tool, {pdfPath(), "-"});
        process.waitForFinished(30000);
        QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
        if (!pages.isEmpty() && pages.back().trimmed().isEmpty())
            pages.removeLast();
        return pages;
    }

    testsupport::ScopedRecordingUi ui;
    platform::ScopedLanguage english{platform::LANG_ENGLISH_US};
    QTemporaryDir dir;
    CRecordListCtrl list;
    QPrinter printer{QPrinter::HighResolution};
    CountingJob job;
};

TEST_F(ListPrintTest, PrintsA130RowListToPdf)
{
    addRows(130);
    job.Print();
    ASSERT_TRUE(QFile::exists(pdfPath()));
    const int perPage = job.GetRowsPerPage();
    ASSERT_GT(perPage, 1);
    const int pages = listprint::PageCount(130, perPage);
    EXPECT_GT(pages, 1);
    ASSERT_EQ(job.pages.size(), pages);
    for (int p = 0; p < pages; ++p)
        EXPECT_EQ(job.pages[p], unsigned(p + 1));
    EXPECT_EQ(ui.ui.enableCalls, std::vector<bool>({false, true}));
    EXPECT_TRUE(ui.ui.boxes.empty());
    EXPECT_EQ(ui.ui.pumpCount, pages);

    const QStringList text = pdfPages();
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed";
    ASSERT_EQ(text.size(), pages);
    int rowsSeen = 0;
    for (int p = 0; p < pages; ++p) {
        SCOPED_TRACE(p + 1);
        const QString& page = text[p];
        EXPECT_TRUE(page.contains(QString("Page %1 of %2").arg(p + 1).arg(pages)));
        EXPECT_TRUE(page.contains("Phonebook"));
        EXPECT_TRUE(page.contains("Deskhand"));
        EXPECT_TRUE(page.contains("Mobile Num"));
        for (int row = p * perPage + 1; row <= std::min(130, (p + 1) * perPage); ++row) {
            EXPECT_TRUE(page.contains(QString("Name %1").arg(row, 3, 10, QChar(u'0')))) << row;
            ++rowsSeen;
        }
    }
    EXPECT_EQ(rowsSeen, 130);
    EXPECT_TRUE(text.back().contains("+8613900000130"));
}

TEST_F(ListPrintTest, ColumnsKeepTheirWidthRatios)
{
    addRows(3);
    job.Print();
    const QList<int>& edges = job.GetEdges();
    ASSERT_EQ(edges.size(), 5);
    const double unit = edges[4] / 460.0;
    EXPECT_NEAR(edges[1], 60 * unit, 1);
    EXPECT_NEAR(edges[2] - edges[1], 100 * unit, 2);
    EXPECT_NEAR(edges[3] - edges[2], 100 * unit, 2);
    EXPECT_NEAR(edges[4] - edges[3], 200 * unit, 2);
    // The table spans the page less 10 mm on each side.
    const double dpi = printer.logicalDpiX();
    EXPECT_NEAR(edges[4], printer.width() - 2 * 10 * dpi / 25.4, 3);
}

TEST_F(ListPrintTest, AnExactMultipleOfRowsPerPageAddsNoEmptyPage)
{
    addRows(1);
    job.Print();
    const int perPage = job.GetRowsPerPage();

    CountingJob second;
    CRecordListCtrl full;
    full.SetColumns("No,1,Name,0", false);
    for (int i = 0; i < 2 * perPage; ++i)
        full.AddRow({"x"}, 0);
    second.SetPrinter(&printer);
    second.SetList(&full);
    second.SetTitle("Phonebook\r\n\r\n");
    second.SetPageFormat("Page %d of %d");
    second.SetFooter("Deskhand");
    second.Print();
    EXPECT_EQ(second.GetRowsPerPage(), perPage);
    EXPECT_EQ(second.pages, QList<unsigned>({1, 2}));
}

TEST_F(ListPrintTest, ATinyPageStillPrintsOneRowPerPage)
{
    addRows(3);
    printer.setPageSize(QPageSize(QSizeF(40, 40), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    job.SetMargins(10, 15, 10, 15);
    job.Print();
    EXPECT_EQ(job.GetRowsPerPage(), 1);
    EXPECT_EQ(job.pages, QList<unsigned>({1, 2, 3}));
}

TEST_F(ListPrintTest, ZeroWidthColumnsPrintWithoutScaling)
{
    addRows(2);
    for (int c = 0; c < list.header()->count(); ++c)
        list.header()->hideSection(c);
    job.Print();
    EXPECT_EQ(job.GetEdges(), QList<int>({0, 0, 0, 0, 0}));
    EXPECT_EQ(job.pages.size(), 1);
}

TEST_F(ListPrintTest, ChosenPageRangeOnly)
{
    addRows(400);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 3);
    job.Print();
    ASSERT_GE(listprint::PageCount(400, job.GetRowsPerPage()), 3);
    EXPECT_EQ(job.pages, QList<unsigned>({2, 3}));
}

TEST_F(ListPrintTest, AnEmptyListStartsNoJob)
{
    job.Print();
    EXPECT_TRUE(job.pages.isEmpty());
    EXPECT_TRUE(ui.ui.boxes.empty());
    EXPECT_TRUE(ui.ui.enableCalls.empty());
    EXPECT_FALSE(QFile::exists(pdfPath()));

    CountingJob noList;
    noList.SetPrinter(&printer);
    noList.Print();
    EXPECT_TRUE(noList.pages.isEmpty());
}

TEST_F(ListPrintTest, AJobThatCannotStartSaysSo)
{
    addRows(2);
    printer.setOutputFileName(dir.filePath("missing/folder/list.pdf"));
    job.Print();
    EXPECT_TRUE(job.pages.isEmpty());
    EXPECT_EQ(ui.ui.boxTexts(), QStringList({"Could not start print job."}));
    EXPECT_TRUE(ui.ui.mainWindowEnabled);
}

TEST_F(ListPrintTest, ApplicationShutdownEndsTheJobAfterThePage)
{
    addRows(130);
    ui.ui.quitting = true;
    job.Print();
    EXPECT_EQ(job.pages, QList<unsigned>({1}));
    EXPECT_TRUE(ui.ui.mainWindowEnabled);
}

TEST(PrintJob, UnknownPageCountPrintsOnePage)
{
    testsupport::ScopedRecordingUi ui;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::ScreenResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("base.pdf"));
    struct Job : CPrintJob {
        void OnPrint(QPainter*, CPrintInfo* info) override { pages << info->m_nCurPage; }
        QList<unsigned> pages;
    } job;
    EXPECT_EQ(job.GetDocName(), "Marvolt Inc.");
    job.SetPrinter(&printer);
    job.Print();
    EXPECT_EQ(job.pages, QList<unsigned>({1}));
    EXPECT_EQ(printer.docName(), "Marvolt Inc.");
}

} // namespace
