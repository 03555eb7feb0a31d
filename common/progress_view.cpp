#include "common/progress_view.h"

namespace common {

namespace {

class SilentProgressView final : public IProgressView {
public:
    void Step(const QString&) override {}
};

} // namespace

IProgressView::~IProgressView() = default;

std::unique_ptr<IProgressView> CreateProgressView(const ProgressRequest& request)
{
    return ProgressViewFactories::Create([](const ProgressRequest&) { return std::make_unique<SilentProgressView>(); }, request);
}

} // namespace common
