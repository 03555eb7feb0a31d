// Normalises arbitrary bytes as an iMelody text; must never crash, and the result is either
// empty or the fixed frame around at most 63 melody characters.
#include "link2/imelody.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    dh2::CIMelody melody;
    const bool ok = melody.Write(input);
    Check(ok != melody.Text().isEmpty());
    if (ok) {
        static const QByteArray kHead = "BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:";
        static const QByteArray kTail = "\r\nEND:IMELODY\r\n";
        Check(melody.Text().startsWith(kHead) && melody.Text().endsWith(kTail));
        Check(melody.Text().size() == kHead.size() + std::min<qsizetype>(melody.Melody().size(), dh2::CIMelody::kMelodyChars) + kTail.size());
        Check(melody.Beat() >= 25 && melody.Beat() <= 900);
        Check(melody.Style() >= 0 && melody.Style() <= 2);
        Check(melody.Volume() >= 0 && melody.Volume() <= 15);
        Check(melody.Name().size() <= dh2::CIMelody::kMaxLineBytes);
    }
    return 0;
}
