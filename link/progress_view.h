#pragma once

#include "common/progress_view.h"

#include <memory>

namespace dh1 {

// What Deskhand's operations tell their progress view: Abort sets g_bUserAbort, and the bar of
// steps runs to g_nProgressRange.
common::ProgressRequest MakeProgressRequest();

// The progress view of one operation, made by the installed factory (the program's progress
// window); without one, a view that shows nothing.
std::unique_ptr<common::IProgressView> CreateProgressView();

} // namespace dh1
