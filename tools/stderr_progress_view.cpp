#include "tools/stderr_progress_view.h"

#include "link/globals.h"
#include "tools/tool_main.h"

void CStderrProgressView::Step(const QString& text)
{
    tools::PrintProgressLine(m_stream, text);
}

void CStderrProgressView::Finish()
{
    // As the dialog does when it closes.
    g_nProgressRange = 10;
}
