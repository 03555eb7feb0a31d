#pragma once

#include "phonesim/phone_state.h"

#include <QByteArray>
#include <QList>

namespace phonesim {

// What a command handler answers, before framing.
struct Response {
    enum class Final { Ok, Error, CmeError, CmsError, ExtError, Prompt, CgrError };

    QList<QByteArray> lines; // information lines, without line ends
    Final final = Final::Ok;
    int code = 0;            // of a +CME/+CMS/+EXT ERROR

    static Response ok(QList<QByteArray> lines = {});
    static Response error();
    static Response cmeError(int code);
    static Response cmsError(int code);
    static Response extError(int code);
    static Response prompt();
    static Response cgrError(); // a caller group is full
};

// +CME ERROR codes the dialects use.
enum CmeCode : int {
    CME_OPERATION_NOT_ALLOWED = 3,
    CME_OPERATION_NOT_SUPPORTED = 4,
    CME_SIM_NOT_INSERTED = 10,
    CME_MEMORY_FULL = 20,
    CME_INVALID_INDEX = 21,
    CME_NOT_FOUND = 23,
    CME_TEXT_TOO_LONG = 24,
    CME_INVALID_CHARACTERS = 25,
    CME_DIAL_STRING_TOO_LONG = 26,
    CME_INVALID_DIAL_CHARACTERS = 27,
    CME_INCORRECT_PARAMETERS = 50,
};

// Standard framing: each information line as "\r\n<line>" and its "\r\n", then the final
// result as "\r\nOK\r\n". A +CME ERROR is numeric only after +CMEE=1 (or 2), else ERROR.
// The prompt is "\r\n> " without a line end.
QByteArray Frame(const Response& response, const PhoneState& state);

// A final result as it goes out, a +CME ERROR always numeric: "\r\nOK\r\n",
// "\r\n+CME ERROR: 21\r\n", the prompt "\r\n> ", "\r\n+CGR ERROR\r\n".
QByteArray FinalResultText(Response::Final final, int code = 0);

} // namespace phonesim
