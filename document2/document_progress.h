#pragma once

#include "link2/progress_view.h"

#include <memory>

namespace dh2 {

// The progress window of the document's own work (the "Adding data" step, the PIM exchange):
// the progress dialog in the look of the operations that are no phone transfer, its animation
// playing. Whatever factory is installed makes it (a recorder in tests, stderr in tools).
std::unique_ptr<IProgressView> OpenDocumentProgress();

} // namespace dh2
