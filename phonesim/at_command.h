#pragma once

#include <QByteArray>

namespace phonesim {

// One command line as the phone parses it.
struct AtCommand {
    enum class Form { Action, Set, Query, Test };

    bool valid = false; // begins with "AT"
    QByteArray text;    // as received, without the final CR
    // Upper case: "" for a bare AT, the letter of a basic command ("E" of ATE0), or the
    // extended name with its '+' ("+CPBR").
    QByteArray name;
    Form form = Form::Action;
    // After '=' for Set; the number of a basic command ("0" of ATE0).
    QByteArray args;
};

AtCommand ParseAtCommand(const QByteArray& text);

// Splits the arguments of a Set command at commas outside quotes; quotes are kept.
QList<QByteArray> SplitArguments(const QByteArray& args);
// A quoted argument without its quotes; an unquoted one as it is.
QByteArray Unquoted(const QByteArray& argument);

} // namespace phonesim
