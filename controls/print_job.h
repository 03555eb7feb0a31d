#pragma once

#include <QRect>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;

// What a print job knows about its run: the page range, the page being printed and the
// rectangle to draw in (device pixels of the printable area).
struct CPrintInfo {
    static constexpr unsigned kUnknownMaxPage = 0xFFFF;

    void SetMinPage(unsigned page) { m_nMinPage = page; }
    void SetMaxPage(unsigned page) { m_nMaxPage = page; }
    unsigned GetMinPage() const { return m_nMinPage; }
    unsigned GetMaxPage() const { return m_nMaxPage; }
    unsigned GetFromPage() const { return m_nFromPage; }
    unsigned GetToPage() const { return m_nToPage; }

    QPrinter* m_pPrinter = nullptr;
    unsigned m_nMinPage = 1;
    unsigned m_nMaxPage = kUnknownMaxPage;
    unsigned m_nFromPage = 0; // 0: from the first page
    unsigned m_nToPage = 0;   // 0: to the last page
    unsigned m_nCurPage = 1;
    bool m_bContinuePrinting = true;
    QRect m_rectDraw;
};

// A small print job: it asks for a printer, opens the job and drives a page loop through
// five virtual hooks. The main window is disabled while the job runs.
class CPrintJob {
public:
    CPrintJob();
    virtual ~CPrintJob();
    CPrintJob(const CPrintJob&) = delete;
    CPrintJob& operator=(const CPrintJob&) = delete;

    // The whole job.
    virtual void Print();
    // One page; the painter is active on the printer.
    virtual void OnPrint(QPainter* painter, CPrintInfo* info);
    virtual void OnEndPrinting(QPainter* painter, CPrintInfo* info);
    // After the job has opened and before the first page.
    virtual void OnBeginPrinting(QPainter* painter, CPrintInfo* info);
    // TRUE when prepared is set, else DoPreparePrinting.
    virtual bool OnPreparePrinting(CPrintInfo* info, bool prepared);

    // The print dialog; the page range it offers is the info's. With a printer given by
    // SetPrinter no dialog is shown and that printer is used as it is.
    bool DoPreparePrinting(CPrintInfo* info);
    void OnPrepareDC(QPainter* painter, CPrintInfo* info);

    // Prints on this printer (e.g. one set up for PDF output) instead of asking the user.
    // The caller keeps it alive for the job.
    void SetPrinter(QPrinter* printer) { m_pGivenPrinter = printer; }
    // The name under which the job is listed in the print queue.
    void SetDocName(const QString& name) { m_strDocName = name; }
    const QString& GetDocName() const { return m_strDocName; }

protected:
    // Lets pending window events run between pages; false when the application is ending.
    static bool AbortProc();

private:
    QString m_strDocName;
    QPrinter* m_pGivenPrinter = nullptr;
    std::unique_ptr<QPrinter> m_pOwnPrinter;
};
