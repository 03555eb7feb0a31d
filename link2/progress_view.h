#pragma once

#include "common/progress_view.h"

#include <memory>

namespace dh2 {

// What Deskhand2's operations tell their progress view: Cancel sets g_bCancel; the look is the
// phone's for a transfer and the other one for the document's own work.
common::ProgressRequest MakeProgressRequest(common::ProgressLook look = common::ProgressLook::Phone);

// The progress view of one operation in that look, made by the installed factory (the program's
// progress window); without one, a view that shows nothing.
std::unique_ptr<common::IProgressView> CreateProgressView(common::ProgressLook look = common::ProgressLook::Phone);

} // namespace dh2
