#include "platform/pim/items.h"

namespace pim {

std::unique_ptr<pim::Item> Items::Item(long index, Error* error) const
{
    if (index < 1 || index > Count()) {
        Fail(error, ErrorCode::InvalidArgument, QStringLiteral("There is no item %1").arg(index));
        return nullptr;
    }
    return m_items[size_t(index - 1)]->Clone();
}

} // namespace pim
