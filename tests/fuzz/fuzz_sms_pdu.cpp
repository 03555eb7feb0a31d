// Decodes arbitrary bytes as a listed message PDU, once and as several parts of one object, and
// reads back everything the listing reads, also through the listing's record building. Must
// never crash or read past the input, and every count must stay within its field.
#include "link2/message_parser.h"
#include "link2/sms_pdu.h"

#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ReadBack(const dh2::CSmsPdu& pdu)
{
    QString text;
    const int units = pdu.GetText(&text);
    Check(units == text.size());
    Check(units <= dh2::CSmsPdu::kMaxSegments * 160);
    Check(pdu.GetAddress().size() <= dh2::CSmsPdu::kMaxAddressDigits + 1);
    quint8 year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    qint8 zone = 0;
    pdu.GetTimeStamp(year, month, day, hour, minute, second, zone);
    Check(pdu.Elements().size() <= size_t(dh2::CSmsPdu::kMaxElements));
    for (const auto& element : pdu.Elements()) {
        QByteArray data;
        const int size = element->GetData(&data);
        Check(size >= 0 && size <= data.size());
        Check(!element->GetTypeName().isEmpty());
        element->GetNumber();
        for (const int coding : {dh2::CodingGsm, dh2::Coding8Bit, dh2::CodingUcs2})
            Check(element->GetEncodedSize(coding) >= 0);
        if (const auto* sound = dynamic_cast<const dh2::CEmsUserSound*>(element.get()))
            sound->NormalisedMelody();
    }
    for (const auto& segment : pdu.Segments()) {
        Check(segment->HeaderSize() <= dh2::CSmsSegment::kMaxHeaderBytes);
        Check(segment->MessageByteCount() <= dh2::CSmsSegment::kMaxMessageBytes);
        Check(segment->Text().size() <= 160);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), qsizetype(size));
    dh2::CSmsPdu pdu;
    if (pdu.Decode(input)) {
        Check(pdu.Segments().size() == 1);
        pdu.Decode(input); // a second part of the same message
        pdu.DecodeElements();
    }
    ReadBack(pdu);

    // The same bytes as the PDU line of a listing entry.
    const dh2::PduEntryResult entry = dh2::ParsePduEntry({QStringLiteral("1,1,\"\",0"), QString::fromLatin1(input.toByteArray().toHex().toUpper())});
    Check(entry.record || entry.reRead == 1);
    return 0;
}
