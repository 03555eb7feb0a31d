#pragma once

// Argument helpers of the first family's command handlers.
#include <QByteArray>

#include <optional>
#include <utility>

namespace phonesim {

// A whole decimal number, blanks around it allowed; nothing for anything else.
std::optional<int> Number(const QByteArray& text);

// "a" or "a,b" as the pair (a, b); a single index as (a, a).
std::optional<std::pair<int, int>> IndexPair(const QByteArray& args);

} // namespace phonesim
