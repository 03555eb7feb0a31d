#include "document2/document_progress.h"

#include "link2/progress_view.h"

namespace dh2 {

std::unique_ptr<common::IProgressView> OpenDocumentProgress()
{
    return CreateProgressView(common::ProgressLook::Other);
}

} // namespace dh2
