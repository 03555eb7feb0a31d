#include "phonesim/response.h"

namespace phonesim {

Response Response::ok(QList<QByteArray> lines)
{
    return {.lines = std::move(lines)};
}

Response Response::error()
{
    return {.final = Final::Error};
}

Response Response::cmeError(int code)
{
    return {.final = Final::CmeError, .code = code};
}

Response Response::cmsError(int code)
{
    return {.final = Final::CmsError, .code = code};
}

Response Response::extError(int code)
{
    return {.final = Final::ExtError, .code = code};
}

Response Response::prompt()
{
    return {.final = Final::Prompt};
}

Response Response::cgrError()
{
    return {.final = Final::CgrError};
}

QByteArray FinalResultText(Response::Final final, int code)
{
    const auto numbered = [code](const char* name) { return "\r\n" + QByteArray(name) + QByteArray::number(code) + "\r\n"; };
    switch (final) {
    case Response::Final::Ok: return "\r\nOK\r\n";
    case Response::Final::Error: return "\r\nERROR\r\n";
    case Response::Final::CmeError: return numbered("+CME ERROR: ");
    case Response::Final::CmsError: return numbered("+CMS ERROR: ");
    case Response::Final::ExtError: return numbered("+EXT ERROR: ");
    case Response::Final::Prompt: return "\r\n> ";
    case Response::Final::CgrError: return "\r\n+CGR ERROR\r\n";
    }
    return {};
}

QByteArray Frame(const Response& response, const PhoneState& state)
{
    QByteArray out;
    if (!response.lines.isEmpty())
        out += "\r\n" + response.lines.join("\r\n") + "\r\n";
    const bool plainError = response.final == Response::Final::CmeError && !state.cmee;
    return out + FinalResultText(plainError ? Response::Final::Error : response.final, response.code);
}

} // namespace phonesim
