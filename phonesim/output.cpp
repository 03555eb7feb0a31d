#include "phonesim/output.h"

#include <algorithm>

namespace phonesim {

void Output::append(const Output& other)
{
    chunks.insert(chunks.end(), other.chunks.begin(), other.chunks.end());
    std::stable_sort(chunks.begin(), chunks.end(),
        [](const TimedBytes& a, const TimedBytes& b) { return a.offsetMs < b.offsetMs; });
    if (other.stream)
        stream = other.stream;
    if (other.closeAtMs)
        closeAtMs = closeAtMs ? std::min(*closeAtMs, *other.closeAtMs) : *other.closeAtMs;
    stopsStream = stopsStream || other.stopsStream;
}

} // namespace phonesim
