#pragma once

// The user's locale (QLocale's default, which dates are written and read in) and, optionally,
// the time zone (TZ) for the lifetime of a guard; both come back as they were.
#include <QByteArray>
#include <QLocale>

#include <ctime>

namespace testsupport {

class ScopedLocale {
public:
    explicit ScopedLocale(const char* name, const char* timeZone = nullptr)
        : m_hadTimeZone(qEnvironmentVariableIsSet("TZ")), m_timeZone(qgetenv("TZ"))
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
        if (timeZone) {
            qputenv("TZ", timeZone);
            tzset();
        }
    }
    ~ScopedLocale()
    {
        QLocale::setDefault(m_locale);
        if (m_hadTimeZone)
            qputenv("TZ", m_timeZone);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;

private:
    const QLocale m_locale;
    const bool m_hadTimeZone;
    const QByteArray m_timeZone;
};

} // namespace testsupport
