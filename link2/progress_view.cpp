#include "link2/progress_view.h"

#include "link2/message_pump.h"

namespace dh2 {

common::ProgressRequest MakeProgressRequest(common::ProgressLook look)
{
    return {&g_bCancel, nullptr, look};
}

std::unique_ptr<common::IProgressView> CreateProgressView(common::ProgressLook look)
{
    return common::CreateProgressView(MakeProgressRequest(look));
}

} // namespace dh2
