#include "controls/print_job.h"

#include "platform/string_table.h"
#include "platform/ui_services.h"

#include <QApplication>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace {

constexpr int kIdsCannotStartPrintJob = 61702;

} // namespace

CPrintJob::CPrintJob() : m_strDocName(QStringLiteral("Marvolt Inc.")) {}

CPrintJob::~CPrintJob() = default;

void CPrintJob::OnPrint(QPainter*, CPrintInfo*) {}

void CPrintJob::OnEndPrinting(QPainter*, CPrintInfo*) {}

void CPrintJob::OnBeginPrinting(QPainter*, CPrintInfo*) {}

bool CPrintJob::OnPreparePrinting(CPrintInfo* info, bool prepared)
{
    return prepared || DoPreparePrinting(info);
}

bool CPrintJob::DoPreparePrinting(CPrintInfo* info)
{
    if (info->m_nMaxPage < info->m_nMinPage)
        info->m_nMaxPage = info->m_nMinPage;
    if (m_pGivenPrinter) {
        info->m_pPrinter = m_pGivenPrinter;
        return true;
    }
    m_pOwnPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(m_pOwnPrinter.get(), QApplication::activeWindow());
    dialog.setMinMax(int(info->m_nMinPage), int(info->m_nMaxPage));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    info->m_pPrinter = m_pOwnPrinter.get();
    return true;
}

void CPrintJob::OnPrepareDC(QPainter*, CPrintInfo* info)
{
    // With an unknown page count only the first page is printed.
    info->m_bContinuePrinting = info->m_nMaxPage != CPrintInfo::kUnknownMaxPage || info->m_nCurPage == 1;
}

bool CPrintJob::AbortProc()
{
    return platform::UiServices::instance().processPendingEvents();
}

void CPrintJob::Print()
{
    CPrintInfo info;
    if (!OnPreparePrinting(&info, false) || !info.m_pPrinter)
        return;
    QPrinter* printer = info.m_pPrinter;
    // A range chosen in the print dialog.
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        info.m_nFromPage = unsigned(printer->fromPage());
        info.m_nToPage = unsigned(std::max(printer->toPage(), printer->fromPage()));
    }
    printer->setDocName(m_strDocName);

    platform::UiServices& ui = platform::UiServices::instance();
    ui.enableMainWindow(false);
    QPainter painter;
    if (!painter.begin(printer)) {
        ui.enableMainWindow(true);
        OnEndPrinting(nullptr, &info);
        platform::AfxMessageBox(platform::LoadString(kIdsCannotStartPrintJob));
        return;
    }
    info.m_rectDraw = QRect(0, 0, printer->width(), printer->height());
    OnBeginPrinting(&painter, &info);

    // Page range clamped to what the job has; a reversed range prints backwards.
    const auto clampPage = [&](unsigned page) { return std::clamp(page, info.m_nMinPage, std::max(info.m_nMinPage, info.m_nMaxPage)); };
    const unsigned from = clampPage(info.m_nFromPage ? info.m_nFromPage : info.m_nMinPage);
    const unsigned to = clampPage(info.m_nToPage ? info.m_nToPage : info.m_nMaxPage);
    const int step = to < from ? -1 : 1;
    const unsigned end = to == CPrintInfo::kUnknownMaxPage ? to : unsigned(int(to) + step);

    bool error = false;
    bool firstPage = true;
    for (info.m_nCurPage = from; info.m_nCurPage != end; info.m_nCurPage = unsigned(int(info.m_nCurPage) + step)) {
        OnPrepareDC(&painter, &info);
        if (!info.m_bContinuePrinting)
            break;
        info.m_rectDraw = QRect(0, 0, printer->width(), printer->height());
        if (!firstPage && !printer->newPage()) {
            error = true;
            break;
        }
        firstPage = false;
        OnPrepareDC(&painter, &info);
        painter.save();
        OnPrint(&painter, &info);
        painter.restore();
        if (!AbortProc()) {
            error = true;
            break;
        }
    }

    if (error) {
        printer->abort();
        painter.end();
    } else {
        painter.end();
    }
    ui.enableMainWindow(true);
    OnEndPrinting(nullptr, &info);
}
