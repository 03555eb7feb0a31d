#include "common/progress_view.h"

namespace common {

IProgressView::~IProgressView() = default;

} // namespace common
