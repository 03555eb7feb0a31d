#include "link/progress_view.h"

#include "common/window_exposure.h"
#include "link/globals.h"
#include "link/work_progress_dlg.h"

namespace {

std::unique_ptr<common::IProgressView> CreateProgressDialog(const common::ProgressRequest&)
{
    auto dialog = std::make_unique<CWorkProgressDlg>();
    common::ShowNow(*dialog);
    return dialog;
}

} // namespace

common::ProgressRequest MakeProgressRequest()
{
    return {&g_bUserAbort, &g_nProgressRange, common::ProgressLook::Phone};
}

std::unique_ptr<common::IProgressView> CreateProgressView()
{
    return common::ProgressViewFactories::Create(CreateProgressDialog, MakeProgressRequest());
}
