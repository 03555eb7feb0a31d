#include "link/progress_view.h"

#include "common/window_exposure.h"
#include "link/work_progress_dlg.h"

namespace {

std::unique_ptr<IProgressView> CreateProgressDialog()
{
    auto dialog = std::make_unique<CWorkProgressDlg>();
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
