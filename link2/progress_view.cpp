#include "link2/progress_view.h"

#include "common/window_exposure.h"
#include "link2/message_pump.h"
#include "link2/work_progress_dlg.h"

namespace dh2 {

namespace {

std::unique_ptr<common::IProgressView> CreateProgressDialog(const common::ProgressRequest& request)
{
    auto dialog = std::make_unique<CWorkProgressDlg>();
    dialog->SetLook(request.look == common::ProgressLook::Phone);
    dialog->PlayAnimation();
    common::ShowNow(*dialog);
    return dialog;
}

} // namespace

common::ProgressRequest MakeProgressRequest(common::ProgressLook look)
{
    return {&g_bCancel, nullptr, look};
}

std::unique_ptr<common::IProgressView> CreateProgressView(common::ProgressLook look)
{
    return common::ProgressViewFactories::Create(CreateProgressDialog, MakeProgressRequest(look));
}

} // namespace dh2
