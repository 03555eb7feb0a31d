#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace dh2 {

// Normalises the iMelody text of a user-defined sound in an enhanced message into the short form
// phones play: the fixed header, the melody (its first 63 characters) and the end line. Reads
// the name, composer, beat, style and volume lines on the way; lines may be folded (a line that
// begins with a blank or tab continues the one before). Diagnostics go to stderr.
class CIMelody {
public:
    static constexpr int kMaxLineBytes = 256;
    static constexpr int kMelodyChars = 63;
    static constexpr int kDefaultBeat = 120;
    static constexpr int kDefaultStyle = 0;
    static constexpr int kDefaultVolume = 7;

    // Parses the text and replaces the output with its normalised form. An empty line is
    // skipped; a line longer than 256 bytes or one that does not parse stops the parsing, and
    // then the result is false and the output empty.
    bool Write(QByteArrayView text);
    // One line "KEY:value"; a line without ':' is the melody. False for a beat, style or volume
    // without a number.
    bool Parse(QByteArrayView line);
    // Stores the output in a file, atomically; false when there is none or the file cannot be
    // written.
    bool WriteFile(const QString& fileName) const;
    void Free();

    const QByteArray& Text() const { return m_buffer; }
    const QByteArray& Melody() const { return m_melody; }
    const QByteArray& Name() const { return m_name; }
    const QByteArray& Composer() const { return m_composer; }
    int Beat() const { return m_nBeat; }
    int Style() const { return m_nStyle; }
    int Volume() const { return m_nVolume; }

private:
    QByteArray m_buffer; // the normalised text
    QByteArray m_melody;
    QByteArray m_name;
    QByteArray m_composer;
    int m_nBeat = kDefaultBeat;
    int m_nStyle = kDefaultStyle;
    int m_nVolume = kDefaultVolume;
};

} // namespace dh2
