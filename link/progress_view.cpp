#include "link/progress_view.h"

#include "link/globals.h"

common::ProgressRequest MakeProgressRequest()
{
    return {&g_bUserAbort, &g_nProgressRange, common::ProgressLook::Phone};
}

std::unique_ptr<common::IProgressView> CreateProgressView()
{
    return common::CreateProgressView(MakeProgressRequest());
}
