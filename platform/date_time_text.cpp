#include "platform/date_time_text.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>

namespace platform {

QString LocaleDateFormat(const QLocale& locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    // A two-digit year would not read back into the same century.
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

QString LocaleTimeFormat(const QLocale& locale)
{
    QString format = locale.timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return format.trimmed();
}

namespace {

// Blanks of any width become one blank; marks that only steer the writing direction go.
QString normalized(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c == QChar(0x200E) || c == QChar(0x200F) || c == QChar(0x061C))
            continue;
        plain += c.isSpace() ? QChar(u' ') : c;
    }
    return plain.simplified();
}

// The order of day, month and year in the locale's short date ("dMy", "Mdy", "yMd"), and the
// separators it writes between them.
struct DateOrder {
    QString fields;
    QString separators;
};

DateOrder dateOrderOf(const QLocale& locale)
{
    DateOrder order;
    bool quoted = false;
    for (const QChar c : locale.dateFormat(QLocale::ShortFormat)) {
        if (c == u'\'')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if ((c == u'd' || c == u'M' || c == u'y') && !order.fields.contains(c))
            order.fields += c;
        else if (QStringView(u"/.-").contains(c) && !order.separators.contains(c))
            order.separators += c;
    }
    if (order.fields.size() != 3)
        order.fields = QStringLiteral("dMy");
    // A locale that writes no numeric date (month names) takes any of them.
    if (order.separators.isEmpty())
        order.separators = QStringLiteral("/.-");
    return order;
}

// A year as written: four digits as they stand, one or two as 1930-2029.
int yearOf(const QString& digits)
{
    if (digits.size() == 4)
        return digits.toInt();
    if (digits.size() > 2)
        return -1;
    const int yy = digits.toInt();
    return yy < 30 ? 2000 + yy : 1900 + yy;
}

QDate dateOf(const QStringList& numbers, QChar separator, const DateOrder& order)
{
    QString fields = order.fields;
    if (numbers[0].size() == 4)
        fields = QStringLiteral("yMd");
    else if (!order.separators.contains(separator))
        return {};
    int year = -1;
    int month = -1;
    int day = -1;
    for (int i = 0; i < 3; ++i) {
        const QString& n = numbers[i];
        if (fields[i] == u'y')
            year = yearOf(n);
        else if (n.size() <= 2)
            (fields[i] == u'M' ? month : day) = n.toInt();
    }
    const QDate date(year, month, day);
    return year >= 0 && date.isValid() ? date : QDate();
}

// The AM and PM words this locale and English write, each as a pattern that takes any case and
// blanks of any number where the word has one.
struct DayHalves {
    QString pattern;
    QStringList pm;
};

QString bare(const QString& word)
{
    return QString(word).remove(u'.').remove(u' ').toLower();
}

DayHalves dayHalvesOf(const QLocale& locale)
{
    QStringList words{normalized(locale.amText()), normalized(locale.pmText()), QStringLiteral("AM"), QStringLiteral("PM"),
                      QStringLiteral("A.M."), QStringLiteral("P.M.")};
    words.removeAll(QString());
    words.removeDuplicates();
    // The longest first, so that "A.M." is not taken for an "A" with a rest.
    std::stable_sort(words.begin(), words.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    DayHalves halves;
    QStringList alternatives;
    for (const QString& word : words)
        alternatives << QRegularExpression::escape(word).replace(QLatin1String("\\ "), QLatin1String("\\s*"));
    halves.pattern = QStringLiteral("(?:") + alternatives.join(u'|') + u')';
    halves.pm = QStringList{bare(locale.pmText()), QStringLiteral("pm")};
    return halves;
}

std::optional<QTime> timeOf(const QString& text, const QLocale& locale)
{
    const DayHalves halves = dayHalvesOf(locale);
    // Hours and minutes are split by a colon, or by a dot where the locale writes one there.
    const QString separators = locale.timeFormat(QLocale::ShortFormat).contains(u'.') ? QStringLiteral(":.")
                                                                                      : QStringLiteral(":");
    const QString pattern = QStringLiteral("^(?:(%1)\\s*)?(\\d{1,2})[%2](\\d{1,2})(?:[%2](\\d{1,2})(?:[.,]\\d+)?)?(?:\\s*(%1))?$")
                                .arg(halves.pattern, separators);
    const QRegularExpression expression(pattern, QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = expression.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString before = match.captured(1);
    const QString after = match.captured(5);
    if (!before.isEmpty() && !after.isEmpty())
        return std::nullopt;
    int hour = match.captured(2).toInt();
    const QString half = bare(before + after);
    if (!half.isEmpty()) {
        const bool pm = halves.pm.contains(half);
        if (hour > 12 || (pm && hour == 0))
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    const QTime time(hour, match.captured(3).toInt(), match.captured(4).toInt());
    return time.isValid() ? std::optional<QTime>(time) : std::nullopt;
}

std::optional<WallClockTime> readNumbers(const QString& text, const QLocale& locale)
{
    static const QRegularExpression datePattern(QStringLiteral("^(\\d{1,4})\\s*([./-])\\s*(\\d{1,4})\\s*\\2\\s*(\\d{1,4})\\.?"));
    const QRegularExpressionMatch date = datePattern.match(text);
    if (!date.hasMatch()) {
        const std::optional<QTime> time = timeOf(text, locale);
        return time ? std::optional<WallClockTime>(WallClockTime{QDate(), *time}) : std::nullopt;
    }
    WallClockTime result{dateOf({date.captured(1), date.captured(3), date.captured(4)}, date.captured(2).at(0),
                                dateOrderOf(locale)),
                         QTime(0, 0)};
    if (!result.date.isValid())
        return std::nullopt;
    QString rest = text.mid(date.capturedEnd());
    if (rest.isEmpty())
        return result;
    // Blanks, a comma or the 'T' of ISO 8601 part the date from the time.
    const QChar first = rest.at(0);
    if (first != u' ' && first != u',' && first.toUpper() != u'T')
        return std::nullopt;
    rest = rest.mid(1).trimmed();
    const std::optional<QTime> time = timeOf(rest, locale);
    if (!time)
        return std::nullopt;
    result.time = *time;
    return result;
}

// The forms COleDateTime::Format writes in the locale; the date and the time are read apart, so
// that no time zone judges the time.
std::optional<WallClockTime> readLocaleForms(const QString& text, const QLocale& locale)
{
    const QString dateFormat = normalized(LocaleDateFormat(locale));
    const QString timeFormat = normalized(LocaleTimeFormat(locale));
    if (const QDate date = locale.toDate(text, dateFormat); date.isValid())
        return WallClockTime{date, QTime(0, 0)};
    if (const QTime time = locale.toTime(text, timeFormat); time.isValid())
        return WallClockTime{QDate(), time};
    for (qsizetype blank = text.indexOf(u' '); blank > 0; blank = text.indexOf(u' ', blank + 1)) {
        const QDate date = locale.toDate(text.left(blank), dateFormat);
        if (!date.isValid())
            continue;
        if (const QTime time = locale.toTime(text.mid(blank + 1), timeFormat); time.isValid())
            return WallClockTime{date, time};
    }
    return std::nullopt;
}

} // namespace

std::optional<WallClockTime> ReadDateTimeText(const QString& text, const QLocale& locale)
{
    const QString plain = normalized(text);
    if (plain.isEmpty())
        return std::nullopt;
    if (std::optional<WallClockTime> read = readNumbers(plain, locale))
        return read;
    return readLocaleForms(plain, locale);
}

} // namespace platform
