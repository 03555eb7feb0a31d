#pragma once

#include "common/progress_view.h"

#include <memory>

namespace dh2 {

// The progress window of the document's own work (the "Adding data" step, the PIM exchange): in
// the look of the operations that are no phone transfer. Whatever factory is installed makes it
// (the program's dialog, a recorder in tests, stderr in tools).
std::unique_ptr<common::IProgressView> OpenDocumentProgress();

} // namespace dh2
