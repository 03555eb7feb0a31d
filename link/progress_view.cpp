#include "link/progress_view.h"

#include "link/globals.h"

namespace dh1 {

common::ProgressRequest MakeProgressRequest()
{
    return {&g_bUserAbort, &g_nProgressRange, common::ProgressLook::Phone};
}

std::unique_ptr<common::IProgressView> CreateProgressView()
{
    return common::CreateProgressView(MakeProgressRequest());
}

} // namespace dh1
