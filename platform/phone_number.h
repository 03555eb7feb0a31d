#pragma once

#include <QString>
#include <QStringView>

namespace platform {

// What a telephone number may hold: the digits, the symbols of a program's number fields, and a
// '+' only as its first character (elsewhere the phones take a '+' for a pause, or refuse it).
// The number edits judge what the user enters by it; the phone links clean every number with it
// before it goes into a command.
class PhoneNumberRule {
public:
    constexpr explicit PhoneNumberRule(QStringView symbols) : m_symbols(symbols) {}

    // A digit or one of the symbols ('+' included), wherever it stands.
    bool IsNumberChar(QChar c) const;
    // Whether a number takes c as its character at that position.
    bool Takes(QChar c, qsizetype position) const;
    // The number with only what a number field takes, in order: blanks, brackets, dashes, quotes,
    // backslashes, commas, letters and a '+' after the first kept character are dropped.
    QString Clean(QStringView number) const;

private:
    QStringView m_symbols;
};

// Deskhand's number fields: digits, '#', '*', '+' and the pause letter in either case.
inline constexpr PhoneNumberRule kDeskhandNumbers {u"#*+Pp"};
// Deskhand2's: digits, '#', '*', '+' and the pause letter in upper case only.
inline constexpr PhoneNumberRule kDeskhand2Numbers {u"#*+P"};
// The numbers Deskhand2 sends a stored message to: digits, '#', '*' and a leading '+'.
inline constexpr PhoneNumberRule kMessageNumbers {u"#*+"};

} // namespace platform
