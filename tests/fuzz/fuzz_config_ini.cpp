// Arbitrary bytes as config.ini, through the profile reader: the document's keys are read and
// converted as at start-up, and writing a value and the file's text back must keep what was read.
#include "platform/ansi_codepage.h"
#include "platform/atoi.h"
#include "platform/profile.h"

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    platform::IniFile ini(platform::FromAnsi(bytes));
    const QString sections[] = {QStringLiteral("IrComm"), QStringLiteral("IrComm2k")};
    const QString keys[] = {QStringLiteral("byte"), QStringLiteral("sleep"), QStringLiteral("timeout")};
    const QString absent = QStringLiteral("FALSE");

    const platform::IniFile again(ini.Text());
    for (const QString& section : sections) {
        for (const QString& key : keys) {
            const QString value = ini.Value(section, key, absent);
            platform::Atoi(value);
            check(again.Value(section, key, absent) == value);
            check(again.HasKey(section, key) == ini.HasKey(section, key));
        }
    }

    platform::IniFile written = ini;
    written.SetValue(sections[1], keys[0], QStringLiteral("32"));
    check(written.Value(sections[1], keys[0], absent) == QLatin1String("32"));
    check(platform::IniFile(written.Text()).Value(sections[1], keys[0], absent) == QLatin1String("32"));
    for (const QString& key : {keys[1], keys[2]})
        check(written.Value(sections[1], key, absent) == ini.Value(sections[1], key, absent));
    return 0;
}
