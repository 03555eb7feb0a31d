#include "phonesim/fault.h"

#include "phonesim/response.h"

#include <QList>

namespace phonesim {

Fault Fault::silence()
{
    return {};
}

Fault Fault::reply(const QByteArray& text)
{
    return {.kind = Kind::Reply, .text = text};
}

Fault Fault::error()
{
    return reply(FinalResultText(Response::Final::Error));
}

Fault Fault::cmeError(int code)
{
    return reply(FinalResultText(Response::Final::CmeError, code));
}

Fault Fault::cmsError(int code)
{
    return reply(FinalResultText(Response::Final::CmsError, code));
}

Fault Fault::extError(int code)
{
    return reply(FinalResultText(Response::Final::ExtError, code));
}

Fault Fault::pieces(std::vector<TimedBytes> pieces)
{
    return {.kind = Kind::Pieces, .timedPieces = std::move(pieces)};
}

Fault Fault::ring(int delayMs)
{
    return {.kind = Kind::Ring, .delayMs = delayMs};
}

Fault Fault::split(int size, int delayMs)
{
    return {.kind = Kind::Split, .size = size, .delayMs = delayMs};
}

Fault Fault::delay(int delayMs)
{
    return {.kind = Kind::Delay, .delayMs = delayMs};
}

Fault Fault::stream(const QByteArray& line, int periodMs)
{
    return {.kind = Kind::Stream, .text = line, .delayMs = periodMs};
}

Fault Fault::closeLine()
{
    return {.kind = Kind::CloseLine};
}

Fault Fault::before(const QByteArray& lines)
{
    return {.kind = Kind::Before, .text = lines};
}

Fault Fault::amid(const QByteArray& lines)
{
    return {.kind = Kind::Amid, .text = lines};
}

Fault Fault::lateFinal(int delayMs)
{
    return {.kind = Kind::LateFinal, .delayMs = delayMs};
}

Fault Fault::lost()
{
    return {.kind = Kind::Lost};
}

Fault Fault::lostThenClose()
{
    return {.kind = Kind::LostThenClose};
}

bool Fault::carriesOutCommand() const
{
    switch (kind) {
    case Kind::Ring:
    case Kind::Split:
    case Kind::Delay:
    case Kind::Before:
    case Kind::Amid:
    case Kind::LateFinal:
    case Kind::Lost:
    case Kind::LostThenClose:
        return true;
    default:
        return false;
    }
}

void FaultPlan::add(const QByteArray& pattern, const Fault& fault, int times)
{
    if (times != 0)
        m_entries.push_back({pattern, fault, times});
}

std::optional<Fault> FaultPlan::take(const QByteArray& command)
{
    for (auto entry = m_entries.begin(); entry != m_entries.end(); ++entry) {
        const QByteArray& pattern = entry->pattern;
        const bool matches = pattern.endsWith('*')
            ? command.left(pattern.size() - 1).compare(pattern.chopped(1), Qt::CaseInsensitive) == 0
            : command.compare(pattern, Qt::CaseInsensitive) == 0;
        if (!matches)
            continue;
        Fault fault = entry->fault;
        if (entry->times > 0 && --entry->times == 0)
            m_entries.erase(entry);
        return fault;
    }
    return std::nullopt;
}

QByteArray EscapeBytes(const QByteArray& bytes)
{
    QByteArray text;
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '\n')
            text += "\\n";
        else if (c == '\\')
            text += "\\\\";
        else if (u < 0x20 || u == 0x7f)
            text += "\\x" + QByteArray::number(u, 16).rightJustified(2, '0');
        else
            text += c;
    }
    return text;
}

QByteArray UnescapeBytes(const QByteArray& text)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            bytes += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'r') {
            bytes += '\r';
        } else if (c == 'n') {
            bytes += '\n';
        } else if (c == 't') {
            bytes += '\t';
        } else if (c == 'x' && i + 2 < text.size()) {
            bool ok = false;
            const int value = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                bytes += char(value);
                i += 2;
            } else {
                bytes += "\\x";
            }
        } else if (c == '\\') {
            bytes += c;
        } else {
            bytes += '\\'; // not an escape: kept as written
            bytes += c;
        }
    }
    return bytes;
}

bool ParseFaultSpec(const QString& spec, QByteArray* pattern, Fault* fault, QString* error)
{
    const QByteArray text = spec.toUtf8();
    const qsizetype at = text.lastIndexOf('@');
    if (at <= 0 || at == text.size() - 1) {
        *error = QStringLiteral("expected KIND[:ARG]@COMMAND, got \"%1\"").arg(spec);
        return false;
    }
    *pattern = text.mid(at + 1);
    const QByteArray body = text.left(at);
    const qsizetype colon = body.indexOf(':');
    const QByteArray kind = colon < 0 ? body : body.left(colon);
    const QByteArray rest = colon < 0 ? QByteArray() : body.mid(colon + 1);
    const QList<QByteArray> args = rest.isEmpty() ? QList<QByteArray>() : rest.split(':');
    auto number = [&](int index, int fallback, bool* ok) {
        if (index >= args.size())
            return fallback;
        return args[index].toInt(ok);
    };
    bool ok = true;
    if (kind == "silence") {
        *fault = Fault::silence();
    } else if (kind == "error") {
        *fault = Fault::error();
    } else if (kind == "cme" || kind == "cms" || kind == "ext") {
        ok = !args.isEmpty();
        const int code = number(0, 0, &ok);
        *fault = kind == "cme" ? Fault::cmeError(code) : kind == "cms" ? Fault::cmsError(code) : Fault::extError(code);
    } else if (kind == "reply") {
        ok = colon >= 0;
        *fault = Fault::reply(UnescapeBytes(rest));
    } else if (kind == "ring") {
        *fault = Fault::ring(number(0, 500, &ok));
    } else if (kind == "split") {
        ok = !args.isEmpty();
        const int size = number(0, 0, &ok);
        *fault = Fault::split(size, number(1, 100, &ok));
        ok = ok && size > 0;
    } else if (kind == "delay") {
        ok = !args.isEmpty();
        *fault = Fault::delay(number(0, 0, &ok));
    } else if (kind == "stream") {
        const int period = number(0, 50, &ok);
        const QByteArray line = args.size() > 1 ? UnescapeBytes(rest.mid(rest.indexOf(':') + 1))
                                                : QByteArray("+CPBR: 1,0,\"0123456789\",129,\"\",255,\"\",255,\"QQBC\",\"\",\"\"\r\n");
        *fault = Fault::stream(line, period);
        ok = ok && period > 0;
    } else if (kind == "close") {
        *fault = Fault::closeLine();
    } else if (kind == "before") {
        ok = colon >= 0 && !rest.isEmpty();
        *fault = Fault::before(UnescapeBytes(rest));
    } else if (kind == "amid") {
        ok = colon >= 0 && !rest.isEmpty();
        *fault = Fault::amid(UnescapeBytes(rest));
    } else if (kind == "latefinal") {
        *fault = Fault::lateFinal(number(0, 2000, &ok));
    } else if (kind == "lost") {
        *fault = Fault::lost();
    } else if (kind == "lostclose") {
        *fault = Fault::lostThenClose();
    } else {
        *error = QStringLiteral("unknown fault kind \"%1\"").arg(QString::fromUtf8(kind));
        return false;
    }
    if (!ok) {
        *error = QStringLiteral("bad arguments in fault \"%1\"").arg(spec);
        return false;
    }
    return true;
}

} // namespace phonesim
