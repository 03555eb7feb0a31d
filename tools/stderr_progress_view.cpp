#include "tools/stderr_progress_view.h"

#include "link/globals.h"

void CStderrProgressView::Step(const QString& text)
{
    std::fprintf(m_stream, "[progress] %s\n", text.toLocal8Bit().constData());
    std::fflush(m_stream);
}

void CStderrProgressView::Finish()
{
    // As the dialog does when it closes.
    g_nProgressRange = 10;
}
