#include "platform/ansi_codepage.h"

#include "platform/string_table.h"

#include <QByteArray>

#include <cerrno>
#include <clocale>
#include <iconv.h>
#include <langinfo.h>

namespace platform {

namespace {

bool isUtf8(const char* charset)
{
    const QByteArray name = QByteArray(charset).toUpper();
    return name == "UTF-8" || name == "UTF8";
}

class Iconv {
public:
    Iconv(const char* to, const char* from) : m_handle(iconv_open(to, from)) {}
    ~Iconv()
    {
        if (valid())
            iconv_close(m_handle);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool valid() const { return m_handle != reinterpret_cast<iconv_t>(-1); }

    // Converts all of in; a sequence that cannot be converted is skipped by skipBytes(in) and
    // replaced by the replacement bytes.
    template <typename Skip>
    QByteArray convert(const QByteArray& in, const QByteArray& replacement, Skip skipBytes)
    {
        QByteArray out;
        out.reserve(in.size() * 2 + 8);
        char* src = const_cast<char*>(in.constData());
        size_t srcLeft = size_t(in.size());
        char buffer[4096];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(m_handle, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, qsizetype(sizeof buffer - dstLeft));
            if (rc != size_t(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end): replace and move on.
            const size_t skip = std::min(srcLeft, std::max<size_t>(1, skipBytes(src, srcLeft)));
            src += skip;
            srcLeft -= skip;
            out.append(replacement);
            iconv(m_handle, nullptr, nullptr, nullptr, nullptr);
        }
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        iconv(m_handle, nullptr, nullptr, &dst, &dstLeft);
        out.append(buffer, qsizetype(sizeof buffer - dstLeft));
        return out;
    }

private:
    iconv_t m_handle;
};

size_t utf8SequenceLength(const char* p, size_t left)
{
    const auto lead = static_cast<unsigned char>(*p);
    size_t n = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return std::min(n, left);
}

} // namespace

QByteArray EncodeCharset(const QString& text, const char* charset)
{
    if (isUtf8(charset))
        return text.toUtf8();
    Iconv conv(charset, "UTF-8");
    if (!conv.valid())
        return text.toLatin1();
    return conv.convert(text.toUtf8(), QByteArrayLiteral("?"), utf8SequenceLength);
}

QString DecodeCharset(const QByteArray& bytes, const char* charset)
{
    if (isUtf8(charset))
        return QString::fromUtf8(bytes);
    Iconv conv("UTF-8", charset);
    if (!conv.valid())
        return QString::fromLatin1(bytes);
    return QString::fromUtf8(
        conv.convert(bytes, QByteArrayLiteral("\xEF\xBF\xBD"), [](const char*, size_t) { return size_t(1); }));
}

const char* AnsiCharset()
{
    static const QByteArray charset = [] {
        locale_t locale = newlocale(LC_CTYPE_MASK, "", locale_t(nullptr));
        if (!locale)
            return QByteArray("UTF-8");
        QByteArray name(nl_langinfo_l(CODESET, locale));
        freelocale(locale);
        // The C locale reports ASCII; the user of such a session still expects UTF-8 files.
        if (name.isEmpty() || name == "ANSI_X3.4-1968")
            name = "UTF-8";
        return name;
    }();
    return charset.constData();
}

QByteArray ToAnsi(const QString& text)
{
    return EncodeCharset(text, AnsiCharset());
}

QString FromAnsi(const QByteArray& bytes)
{
    return DecodeCharset(bytes, AnsiCharset());
}

QByteArray LegacyCharset()
{
    const QByteArray configured = qgetenv("DESKHAND_CODEPAGE");
    if (!configured.isEmpty())
        return configured;
    // A locale with a single- or double-byte character set is the code page the old files
    // were written in; under UTF-8 the language tells the likely one.
    if (!isUtf8(AnsiCharset()))
        return AnsiCharset();
    return IsChineseSystem() ? QByteArrayLiteral("GBK") : QByteArrayLiteral("CP1252");
}

bool IsUtf8Locale()
{
    return isUtf8(AnsiCharset());
}

QString FromLegacy(const QByteArray& bytes)
{
    return DecodeCharset(bytes, LegacyCharset().constData());
}

} // namespace platform
