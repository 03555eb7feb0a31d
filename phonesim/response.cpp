#include "phonesim/response.h"

namespace phonesim {

Response Response::ok(QList<QByteArray> lines)
{
    Response response;
    response.lines = std::move(lines);
    return response;
}

Response Response::error()
{
    Response response;
    response.final = Final::Error;
    return response;
}

Response Response::cmeError(int code)
{
    Response response;
    response.final = Final::CmeError;
    response.code = code;
    return response;
}

Response Response::cmsError(int code)
{
    Response response;
    response.final = Final::CmsError;
    response.code = code;
    return response;
}

Response Response::extError(int code)
{
    Response response;
    response.final = Final::ExtError;
    response.code = code;
    return response;
}

Response Response::prompt()
{
    Response response;
    response.final = Final::Prompt;
    return response;
}

QByteArray Frame(const Response& response, const PhoneState& state)
{
    QByteArray out;
    if (!response.lines.isEmpty())
        out += "\r\n" + response.lines.join("\r\n") + "\r\n";
    switch (response.final) {
    case Response::Final::Ok:
        out += "\r\nOK\r\n";
        break;
    case Response::Final::Error:
        out += "\r\nERROR\r\n";
        break;
    case Response::Final::CmeError:
        out += state.cmee ? "\r\n+CME ERROR: " + QByteArray::number(response.code) + "\r\n" : QByteArray("\r\nERROR\r\n");
        break;
    case Response::Final::CmsError:
        out += "\r\n+CMS ERROR: " + QByteArray::number(response.code) + "\r\n";
        break;
    case Response::Final::ExtError:
        out += "\r\n+EXT ERROR: " + QByteArray::number(response.code) + "\r\n";
        break;
    case Response::Final::Prompt:
        out += "\r\n> ";
        break;
    }
    return out;
}

} // namespace phonesim
