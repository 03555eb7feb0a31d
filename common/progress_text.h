#pragma once

#include <QString>

#include <initializer_list>

namespace common {

// What a progress text does with a "%d" that has no value left.
enum class MissingValue {
    CutText,         // the text ends before it (trailing blanks cut)
    DropPlaceholder, // the placeholder goes, the rest stays
};

// A progress text from a string-table format: each "%d" takes the next value, "%%" is a percent
// sign, anything else stands as written. Table and phone texts are never used as printf formats.
QString FormatProgress(const QString& format, std::initializer_list<int> values, MissingValue missing);

} // namespace common
