#pragma once

#include <QByteArray>
#include <QString>

class COleDateTime;

// The binary archive of the system's data files: little-endian integers, length-prefixed
// strings and automation dates, with no padding and no tags.
//
// A loading archive reads from a byte array and never trusts it: every length and count is
// checked against the bytes that remain. Reading past the end, or a length that cannot fit,
// puts the archive into a failed state instead of throwing; from then on every read yields
// zero or an empty value, so a caller checks ok() once after a whole record or file.
class CArchive {
public:
    enum Status { Ok, EndOfFile };

    // A storing archive; Data() holds what was written.
    CArchive() = default;
    // A loading archive over the given bytes.
    explicit CArchive(QByteArray data);

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    bool ok() const { return m_status == Ok; }
    Status status() const { return m_status; }
    // Marks the archive failed, e.g. when a caller finds a value it cannot accept.
    void SetFailed() { m_status = EndOfFile; }

    const QByteArray& Data() const { return m_data; }
    qsizetype BytesLeft() const { return m_storing ? 0 : m_data.size() - m_pos; }

    CArchive& operator<<(quint8 value);
    CArchive& operator<<(quint16 value);
    CArchive& operator<<(quint32 value);
    CArchive& operator<<(qint32 value);
    CArchive& operator<<(double value);
    // Pure ASCII is written as bytes; any other text in the UCS-2 form, so nothing is lost.
    CArchive& operator<<(const QString& value);
    CArchive& operator<<(const COleDateTime& value);

    CArchive& operator>>(quint8& value);
    CArchive& operator>>(quint16& value);
    CArchive& operator>>(quint32& value);
    CArchive& operator>>(qint32& value);
    CArchive& operator>>(double& value);
    // Byte strings are decoded with the legacy code page of the original program's files.
    CArchive& operator>>(QString& value);
    // True once a byte string held anything beyond ASCII: its text depended on the code page.
    bool ReadLegacyText() const { return m_legacyText; }
    CArchive& operator>>(COleDateTime& value);

    // Reads a count of items that each take at least minItemBytes in the archive. A negative
    // count, or one that the remaining bytes cannot hold, fails the archive and yields 0.
    bool ReadCount(qint32& count, int minItemBytes);

private:
    bool take(void* out, qsizetype size);
    quint64 readStringLength(bool& unicode);
    void writeStringLength(quint64 length);

    QByteArray m_data;
    qsizetype m_pos = 0;
    bool m_storing = true;
    bool m_legacyText = false;
    Status m_status = Ok;
};

// Stores the fields in the order given, or loads them in that order: one list of fields is the
// layout both ways.
template <typename... Fields>
void SerializeFields(CArchive& ar, Fields&... fields)
{
    if (ar.IsStoring())
        (ar << ... << fields);
    else
        (ar >> ... >> fields);
}
