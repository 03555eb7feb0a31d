#include "link2/imelody.h"

#include "platform/atoi.h"
#include "platform/folders.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace dh2 {

namespace {

constexpr int kMinBeat = 25;
constexpr int kMaxBeat = 900;
constexpr int kMaxStyle = 2;
constexpr int kMaxVolume = 15;

bool IsFoldBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text without its leading line ends, with a CR before every LF that lacks one.
QByteArray WithCrLf(QByteArrayView text)
{
    qsizetype start = 0;
    while (start < text.size() && (text[start] == '\r' || text[start] == '\n'))
        ++start;
    QByteArray out;
    out.reserve(text.size() - start + 16);
    for (qsizetype i = start; i < text.size(); ++i) {
        if (text[i] == '\n' && (out.isEmpty() || out.back() != '\r'))
            out += '\r';
        out += text[i];
    }
    return out;
}

struct Line {
    QByteArray text;
    int number = 0; // of its first physical line, from 1
};

// The logical lines: split at CR LF, a line that begins with a blank or tab joined (without that
// blank) to the one before.
std::vector<Line> LogicalLines(const QByteArray& text)
{
    std::vector<Line> lines;
    int number = 0;
    for (qsizetype pos = 0; pos < text.size();) {
        qsizetype end = text.indexOf("\r\n", pos);
        if (end < 0)
            end = text.size();
        const QByteArray physical = text.mid(pos, end - pos);
        pos = end + 2;
        ++number;
        if (!physical.isEmpty() && IsFoldBlank(physical[0]) && !lines.empty() && !lines.back().text.isEmpty())
            lines.back().text += physical.mid(1);
        else
            lines.push_back({physical, number});
    }
    return lines;
}

// The number at the start of the value, as atoi reads it; nothing without a digit.
std::optional<int> NumberOf(QByteArrayView value)
{
    qsizetype i = 0;
    while (i < value.size() && IsFoldBlank(value[i]))
        ++i;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        ++i;
    if (i >= value.size() || value[i] < '0' || value[i] > '9')
        return std::nullopt;
    return platform::Atoi(value.toByteArray());
}

QByteArrayView WithoutPrefix(QByteArrayView value, char prefix)
{
    if (!value.isEmpty() && (value[0] == prefix || value[0] == prefix + ('a' - 'A')))
        return value.sliced(1);
    return value;
}

} // namespace

bool CIMelody::Write(QByteArrayView text)
{
    Free();
    m_name.clear();
    m_composer.clear();
    m_nBeat = kDefaultBeat;
    m_nStyle = kDefaultStyle;
    m_nVolume = kDefaultVolume;

    for (const Line& line : LogicalLines(WithCrLf(text))) {
        if (line.text.isEmpty()) {
            std::fprintf(stderr, "Empty line %d...Ignored\n", line.number);
            continue;
        }
        if (line.text.size() > kMaxLineBytes) {
            std::fprintf(stderr, "Too long line %d....Stopped\n", line.number);
            m_melody.clear();
            return false;
        }
        if (!Parse(line.text)) {
            std::fprintf(stderr, " in line %d\n", line.number);
            m_melody.clear();
            return false;
        }
    }
    m_buffer = "BEGIN:IMELODY\r\nVERSION:1.2\r\nFORMAT:CLASS1.0\r\nMELODY:" + m_melody.left(kMelodyChars)
        + "\r\nEND:IMELODY\r\n";
    return true;
}

bool CIMelody::Parse(QByteArrayView line)
{
    const qsizetype colon = line.indexOf(':');
    if (colon < 0) {
        std::fprintf(stderr, "No field separator ':':%.*s\n", int(line.size()), line.data());
        m_melody = line.toByteArray();
        return true;
    }
    const QByteArray key = line.first(colon).toByteArray().toUpper();
    const QByteArrayView value = line.sliced(colon + 1);
    if (key == "NAME") {
        m_name = value.toByteArray();
    } else if (key == "COMPOSER") {
        m_composer = value.toByteArray();
    } else if (key == "MELODY") {
        m_melody = value.toByteArray();
    } else if (key == "BEAT") {
        const std::optional<int> beat = NumberOf(value);
        if (!beat) {
            std::fputs("Bad beat", stderr);
            return false;
        }
        m_nBeat = *beat >= kMinBeat && *beat <= kMaxBeat ? *beat : kDefaultBeat;
    } else if (key == "STYLE") {
        const std::optional<int> style = NumberOf(WithoutPrefix(value, 'S'));
        if (!style) {
            std::fputs("Bad style", stderr);
            return false;
        }
        m_nStyle = *style >= 0 && *style <= kMaxStyle ? *style : kDefaultStyle;
    } else if (key == "VOLUME") {
        const QByteArrayView volume = WithoutPrefix(value, 'V');
        if (volume.startsWith('+')) {
            ++m_nVolume;
        } else if (volume.startsWith('-')) {
            --m_nVolume;
        } else {
            const std::optional<int> level = NumberOf(volume.first(std::min<qsizetype>(2, volume.size())));
            if (!level) {
                std::fputs("Bad volume", stderr);
                return false;
            }
            m_nVolume = *level;
        }
        m_nVolume = std::clamp(m_nVolume, 0, kMaxVolume);
    }
    // BEGIN, END, VERSION, FORMAT and keys we do not know change nothing.
    return true;
}

bool CIMelody::WriteFile(const QString& fileName) const
{
    return !m_buffer.isEmpty() && platform::WriteFileAtomically(fileName, m_buffer);
}

void CIMelody::Free()
{
    m_buffer.clear();
    m_melody.clear();
}

} // namespace dh2
