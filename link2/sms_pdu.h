#pragma once

#include "link2/ems_element.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>
#include <memory>
#include <span>
#include <vector>

namespace dh2 {

// The user data of one decoded message: its header (the length octet and the information
// elements) and the message bytes after it. For the GSM 7-bit alphabet the message bytes are
// re-aligned so that the first message septet starts at bit 0.
class CSmsSegment {
public:
    static constexpr int kMaxHeaderBytes = 145; // the length octet and up to 144 bytes
    static constexpr int kMaxMessageBytes = 140;

    // The characters of the message bytes: UCS-2 read high byte first, 8-bit data one
    // character a byte, the 7-bit alphabet (with its escapes) for exactly the message septets;
    // none for coding 12.
    QString Text() const;

    int HeaderSize() const { return int(m_header.size()); }
    int MessageByteCount() const { return int(m_message.size()); }

    // The user-data length as received; for the 7-bit alphabet with a message, the octets the
    // whole user data takes.
    int m_nUserDataSize = 0;
    QByteArray m_header;  // empty without a header
    QByteArray m_message; // the user data after the header
    int m_nHeaderSeptets = 0;  // 7-bit only: the header and its fill bits
    int m_nMessageSeptets = 0; // 7-bit only
    int m_nCoding = 0;
};

// Decodes a short-message PDU as a phone lists it (service-centre address in front, then an
// SMS-DELIVER or SMS-SUBMIT) into its header fields, its user data and the enhanced-message
// elements in it. Every length is checked against the bytes given and against the room each
// field has: a PDU that breaks one does not decode.
class CSmsPdu {
public:
    enum MessageType { TypeDeliver = 0, TypeSubmit = 1 };
    // User-data header indicator in the first octet.
    static constexpr quint8 kHeaderIndicator = 0x40;
    static constexpr int kMaxAddressDigits = 20;
    static constexpr int kMaxServiceCentreBytes = 12;
    static constexpr int kMaxElements = 128;
    static constexpr int kMaxSegments = 16;

    struct Concatenation {
        int reference = 0;
        int total = 0; // 0: the message is not one part of several
        int part = 0;
    };

    CSmsPdu();
    CSmsPdu(const CSmsPdu&) = delete;
    CSmsPdu& operator=(const CSmsPdu&) = delete;

    // Reads one PDU and appends its segment. False for a status report, a command or a reserved
    // type, for a field that runs past the bytes or past its own room, for a user-data length
    // shorter than its header, and when the object already holds kMaxSegments segments.
    bool Decode(QByteArrayView pdu);
    // Builds the element list afresh from every segment: text runs between the header's elements,
    // text formatting, sounds, animations and pictures. Elements beyond kMaxElements are
    // dropped; an element the decoder does not know, or whose data is short, is reported on
    // stderr and left out. Always true.
    bool DecodeElements();

    // The address: "+" first for an international number; an alphanumeric one as its text.
    QString GetAddress() const;
    // The service-centre time stamp of an SMS-DELIVER; false (nothing written) for others.
    bool GetTimeStamp(quint8& year, quint8& month, quint8& day, quint8& hour, quint8& minute, quint8& second,
        qint8& zone) const;
    // The text of every segment joined into *text (when given); returns its units.
    int GetText(QString* text) const;
    // A number as text into the address, and into the service-centre address; false when it
    // has a character no semi-octet stands for or more digits than the field holds.
    bool SetAddress(QStringView text);
    bool SetServiceCentre(QStringView text);

    quint8 FirstOctet() const { return m_nFirstOctet; }
    int MessageTypeIndicator() const { return m_nFirstOctet & 0x03; }
    int AddressDigitCount() const { return m_address[0]; }
    quint8 AddressType() const { return m_address[1]; }
    quint8 ProtocolId() const { return m_nProtocolId; }
    int CodingScheme() const { return m_nCoding; }
    quint8 MessageReference() const { return m_nMessageReference; }
    const std::array<quint8, 7>& ValidityPeriod() const { return m_validityPeriod; }
    const Concatenation& ConcatenationRecord() const { return m_concatenation; }
    // Octets after the length, type of address included.
    int ServiceCentreLength() const { return m_serviceCentre[0]; }
    QByteArray ServiceCentre() const;
    const std::vector<std::unique_ptr<CEmsElement>>& Elements() const { return m_elements; }
    const std::vector<std::unique_ptr<CSmsSegment>>& Segments() const { return m_segments; }

private:
    void DecodeSegmentElements(const CSmsSegment& segment);
    void AddElement(std::unique_ptr<CEmsElement> element);
    void AddText(QStringView text, int nCoding);

    quint8 m_nFirstOctet = 0x04;
    std::array<quint8, 2 + kMaxAddressDigits / 2> m_address {}; // digit count, type, semi-octets
    quint8 m_nProtocolId = 0;
    quint8 m_nCoding = CodingUcs2;
    std::array<quint8, 7> m_timeStamp {};
    quint8 m_nMessageReference = 0;
    std::array<quint8, 7> m_validityPeriod {};
    std::vector<std::unique_ptr<CEmsElement>> m_elements;
    std::vector<std::unique_ptr<CSmsSegment>> m_segments;
    Concatenation m_concatenation;
    std::array<quint8, 1 + kMaxServiceCentreBytes> m_serviceCentre {}; // length, type, semi-octets
};

// Stores a number as a PDU address: address[0] the digit count, address[1] the type (0x91 with
// a leading "+", else 0x81), then the semi-octets, first digit in the low nibble, 0xF filling an
// odd last byte. The digits are 0-9, "*", "#", "a", "b" and "c". False, with nothing written,
// when a character is none of them or the digits do not fit.
bool EncodeAddress(std::span<quint8> address, QStringView text);

// The seven semi-octet bytes of a time stamp: the first six each as low nibble x 10 + high
// nibble, the zone in quarter hours, negative when bit 3 is set.
void DecodeTimeStamp(const std::array<quint8, 7>& stamp, quint8& year, quint8& month, quint8& day, quint8& hour,
    quint8& minute, quint8& second, qint8& zone);

} // namespace dh2
