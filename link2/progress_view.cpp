#include "link2/progress_view.h"

#include "common/window_exposure.h"
#include "link2/work_progress_dlg.h"

namespace dh2 {

namespace {

std::unique_ptr<IProgressView> CreateProgressDialog()
{
    auto dialog = std::make_unique<CWorkProgressDlg>();
    dialog->PlayAnimation();
    common::ShowNow(*dialog);
    return dialog;
}

} // namespace

IProgressView::~IProgressView() = default;

void SetProgressViewFactory(ProgressViewFactory factory)
{
    common::InstalledFactory<IProgressView>::Install(std::move(factory));
}

std::unique_ptr<IProgressView> CreateProgressView()
{
    return common::InstalledFactory<IProgressView>::Create(CreateProgressDialog);
}

} // namespace dh2
