#include "document2/document_progress.h"

#include "link2/work_progress_dlg.h"

namespace dh2 {

std::unique_ptr<IProgressView> OpenDocumentProgress()
{
    std::unique_ptr<IProgressView> view = CreateProgressView();
    if (auto* dialog = dynamic_cast<CWorkProgressDlg*>(view.get())) {
        dialog->SetLook(false);
        dialog->PlayAnimation();
    }
    return view;
}

} // namespace dh2
