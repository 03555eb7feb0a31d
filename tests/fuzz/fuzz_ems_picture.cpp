// Converts arbitrary bytes as picture and animation data: the first four bytes give width,
// height, depth and frames, the rest is the data; the whole input also goes to each picture
// and animation element as its element bytes. Must never crash or read past the data, and every
// result must have exactly the pixels its size says.
#include "link2/ems_bitmap.h"
#include "link2/ems_element.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckBmp(const dh2::CEmsPictureBitmap& picture)
{
    const QByteArray file = dh2::MakeBmpFile(picture.Width(), picture.Height(), picture.ToBgr());
    const qsizetype rowBytes = (qsizetype(picture.Width()) * 3 + 3) / 4 * 4;
    Check(file.size() == 54 + rowBytes * picture.Height());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    if (input.size() >= 4) {
        const int width = quint8(input[0]);
        const int height = quint8(input[1]);
        const int depth = quint8(input[2]) % 3 == 0 ? 1 : quint8(input[2]) % 3 == 1 ? 24 : quint8(input[2]);
        const int frames = quint8(input[3]) % 8;
        const QByteArrayView pixels = input.sliced(4);

        dh2::CEmsPictureBitmap picture;
        if (picture.Convert(width, height, depth, pixels)) {
            Check(picture.Pixels().size() == qsizetype(width) * height);
            Check(picture.Text().count('\n') == 2 + height);
            CheckBmp(picture);
        } else {
            Check(picture.Pixels().isEmpty() && picture.Text().isEmpty());
        }
        dh2::CEmsAnimationBitmap animation;
        if (animation.Convert(width, height, depth, frames, pixels)) {
            Check(animation.Pixels().size() == qsizetype(width) * height * frames);
            Check(animation.Text().count('\n') == 2 + height * frames);
        }
    }

    std::unique_ptr<dh2::CEmsElement> elements[] = {
        std::make_unique<dh2::CEmsLargeAnimation>(),
        std::make_unique<dh2::CEmsSmallAnimation>(),
        std::make_unique<dh2::CEmsLargePicture>(),
        std::make_unique<dh2::CEmsSmallPicture>(),
        std::make_unique<dh2::CEmsVariablePicture>(),
    };
    for (auto& element : elements) {
        const int used = element->Decode(input);
        Check(used >= 0 && used <= input.size());
        QByteArray text;
        Check(element->GetData(&text) == text.size());
        Check((used == 0) == text.isEmpty());
        if (const auto* picture = dynamic_cast<const dh2::CEmsPictureElement*>(element.get()); picture && picture->Bitmap())
            CheckBmp(*picture->Bitmap());
    }
    return 0;
}
