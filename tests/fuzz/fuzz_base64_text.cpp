// Feeds arbitrary bytes to the text decoders as a Base64 field, as Base64 text and as packed
// and unpacked GSM septets; must never crash, and the decoders must agree with their encoders.
#include "common/text_codec.h"

#include <cstdint>
#include <cstdlib>

using namespace common;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void FuzzBase64(const CTextCodec& codec, const QByteArray& input)
{
    QByteArray bytes;
    Check(codec.Base64Decode(bytes, input) == bytes.size());
    Check(bytes.size() <= input.size() / 4 * 3);
    QByteArray text;
    QByteArray back;
    codec.Base64Encode(text, bytes);
    codec.Base64Decode(back, text);
    Check(back == bytes);

    QString decoded;
    bool ok = false;
    const int length = codec.DecodeBase64Text(decoded, QString::fromLatin1(input), &ok);
    Check(length == decoded.size());
    Check(ok || decoded.isEmpty());
    Check(!decoded.contains(QChar(0)));
    Check(decoded.size() <= CTextCodec::kMaxDecodedTextBytes / 2);
    if (ok && decoded.size() < CTextCodec::kMaxDecodedTextBytes / 2) {
        QString field;
        QString again;
        codec.EncodeBase64Text(field, decoded, 1 << 20);
        codec.DecodeBase64Text(again, field, &ok);
        Check(ok && again == decoded);
    }
}

void FuzzSeptets(const QByteArray& octets)
{
    QByteArray septets;
    Check(UnpackSeptets(&septets, octets) == septets.size());
    Check(septets.size() == octets.size() * 8 / 7);

    // Packing the septets again gives the octets back, less the spare bits at the end.
    QByteArray packed;
    PackSeptets(&packed, septets);
    Check(packed.size() == octets.size());
    if (!octets.isEmpty()) {
        const int spare = int(octets.size() * 8 - septets.size() * 7);
        Check(packed.chopped(1) == octets.chopped(1));
        Check(quint8(packed.back()) == (quint8(octets.back()) & (0xFF >> spare)));
    }

    // Every character the decoder yields has a code again; raw bytes are septets too.
    for (const QByteArray& codes : {septets, octets}) {
        QString text;
        Check(GsmSeptetsToUcs2(&text, codes) == text.size());
        Check(GsmSeptetsToUcs2(nullptr, codes) == text.size());
        Check(text.size() <= codes.size());
        Check(Ucs2ToGsmSeptets(nullptr, text) >= 0);
    }

    QString text;
    Check(PackedGsmToUcs2(&text, octets) <= PackedGsmToUcs2(nullptr, octets));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const CTextCodec codec;
    FuzzBase64(codec, input);
    FuzzSeptets(input);
    return 0;
}
