// Reads arbitrary bytes as a bitmap file; must never crash, read past the input or allocate
// more than the input can describe.
#include "controls/bitmap_file.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QImage picture;
    if (DecodeBitmapFile(QByteArrayView(reinterpret_cast<const char*>(data), qsizetype(size)), picture)) {
        // Touch every pixel so that a wrong size shows up as a bad read here.
        quint32 sum = 0;
        for (int y = 0; y < picture.height(); ++y) {
            const auto* line = reinterpret_cast<const quint32*>(picture.constScanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                sum += line[x];
        }
        if (sum == 0x12345678u)
            picture.fill(0); // keeps the loop from being optimised away
    }
    return 0;
}
