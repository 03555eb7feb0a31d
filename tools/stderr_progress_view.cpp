#include "tools/stderr_progress_view.h"

#include "tools/tool_main.h"

void CStderrProgressView::Step(const QString& text)
{
    tools::PrintProgressLine(m_stream, text);
}
