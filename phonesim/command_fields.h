#pragma once

// Argument helpers of the command handlers of both families.
#include "phonesim/phone_state.h"
#include "phonesim/response.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

namespace phonesim {

// A whole decimal number, blanks around it allowed; nothing for anything else.
std::optional<int> Number(const QByteArray& text);

// "a" or "a,b" as the pair (a, b); a single index as (a, a).
std::optional<std::pair<int, int>> IndexPair(const QByteArray& args);

// The index of a write: the given one within the store's range, or the lowest free one for an
// empty field. Sets the error to answer otherwise.
template <typename Store>
std::optional<int> WriteIndex(const QByteArray& field, const Store& store, int* error)
{
    if (field.trimmed().isEmpty()) {
        const std::optional<int> free = store.firstFree();
        if (!free)
            *error = CME_MEMORY_FULL;
        return free;
    }
    const std::optional<int> index = Number(field);
    if (!index || !store.inRange(*index)) {
        *error = CME_INVALID_INDEX;
        return std::nullopt;
    }
    return index;
}

// A delete ("AT+XXXW=index"): the index must lie in the store's range, its entry may be gone.
template <typename Store>
Response DeleteEntry(const QByteArray& field, Store& store, PhoneState& state)
{
    const std::optional<int> index = Number(field);
    if (!index || !store.inRange(*index))
        return Response::cmeError(CME_INVALID_INDEX);
    state.contentsChanged |= store.entries.erase(*index) > 0;
    return Response::ok();
}

// A quoted text argument in the phone's character set, at most maxLength characters decoded.
// Sets the error to answer otherwise.
std::optional<QString> TextArgument(const QByteArray& field, int maxLength, const QByteArray& charset, int* error);
// The same for a phone that keeps its texts in blank-filled records: trailing blanks are
// padding, dropped before the length is checked.
std::optional<QString> PaddedTextArgument(const QByteArray& field, int maxLength, const QByteArray& charset, int* error);

} // namespace phonesim
