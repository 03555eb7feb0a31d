#include "tools/json_members.h"

#include <QFile>
#include <QJsonDocument>
#include <QRegularExpression>

#include <climits>
#include <cmath>
#include <limits>

namespace recordjson {

bool ReadInt(const QJsonValue& value, int& out, QString& why)
{
    const double number = value.toDouble(NAN);
    if (!value.isDouble() || std::floor(number) != number || number < INT_MIN || number > INT_MAX) {
        why = QStringLiteral("expected a whole number");
        return false;
    }
    out = int(number);
    return true;
}

bool ReadString(const QJsonValue& value, QString& out, QString& why)
{
    if (!value.isString()) {
        why = QStringLiteral("expected a string");
        return false;
    }
    out = value.toString();
    return true;
}

bool ReadBool(const QJsonValue& value, bool& out, QString& why)
{
    if (!value.isBool()) {
        why = QStringLiteral("expected true or false");
        return false;
    }
    out = value.toBool();
    return true;
}

namespace {

const QLatin1String kStatusKey("m_status");
const QLatin1String kValueKey("m_dt");

// JSON has no numbers for these; a damaged file may hold them all the same.
const std::pair<double, const char*> kNonFinite[] = {
    {std::numeric_limits<double>::quiet_NaN(), "nan"},
    {std::numeric_limits<double>::infinity(), "inf"},
    {-std::numeric_limits<double>::infinity(), "-inf"},
};

QJsonValue RawValueToJson(double value)
{
    if (std::isfinite(value))
        return value;
    if (std::isnan(value))
        return QString::fromLatin1(kNonFinite[0].second);
    return QString::fromLatin1(value > 0 ? kNonFinite[1].second : kNonFinite[2].second);
}

bool RawValueFromJson(const QJsonValue& value, double& out)
{
    if (value.isDouble()) {
        out = value.toDouble();
        return true;
    }
    for (const auto& [number, name] : kNonFinite) {
        if (value.toString() == QLatin1String(name)) {
            out = number;
            return true;
        }
    }
    return false;
}

// The object form {"m_status": 0|1|2, "m_dt": days}: exactly the two members, nothing else.
bool RawDateTimeFromJson(const QJsonObject& object, COleDateTime& dateTime)
{
    double value = 0.0;
    int status = -1;
    QString why;
    if (object.size() != 2 || !RawValueFromJson(object.value(kValueKey), value)
        || !ReadInt(object.value(kStatusKey), status, why) || status < COleDateTime::valid || status > COleDateTime::null)
        return false;
    dateTime.m_dt = value;
    dateTime.SetStatus(COleDateTime::DateTimeStatus(status));
    return true;
}

} // namespace

QJsonValue DateTimeToJson(const COleDateTime& dateTime)
{
    if (dateTime.GetStatus() == COleDateTime::null && dateTime.m_dt == 0.0)
        return QJsonValue::Null;
    const int year = dateTime.GetYear();
    if (year >= 100 && year <= 9999) {
        return QString::asprintf("%04d-%02d-%02dT%02d:%02d:%02d", year, dateTime.GetMonth(), dateTime.GetDay(),
            dateTime.GetHour(), dateTime.GetMinute(), dateTime.GetSecond());
    }
    // No calendar date (an invalid status, or a value out of the date range, as damaged or odd
    // files hold them): status and value as stored, so that writing them back keeps them.
    return QJsonObject {{kStatusKey, int(dateTime.GetStatus())}, {kValueKey, RawValueToJson(dateTime.m_dt)}};
}

bool DateTimeFromJson(const QJsonValue& value, COleDateTime& dateTime)
{
    if (value.isNull()) {
        dateTime = COleDateTime();
        dateTime.SetStatus(COleDateTime::null);
        return true;
    }
    if (value.isObject())
        return RawDateTimeFromJson(value.toObject(), dateTime);
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{2})-(\\d{2})T(\\d{2}):(\\d{2}):(\\d{2})$"));
    const QRegularExpressionMatch match = pattern.match(value.toString());
    if (!value.isString() || !match.hasMatch())
        return false;
    COleDateTime parsed;
    const auto part = [&](int n) { return match.captured(n).toInt(); };
    if (parsed.SetDateTime(part(1), part(2), part(3), part(4), part(5), part(6)) != 0)
        return false;
    dateTime = parsed;
    return true;
}

std::optional<QJsonArray> ReadRecordArrayFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (document.isNull()) {
        *error = QStringLiteral("%1: not JSON: %2 at offset %3").arg(path, parseError.errorString()).arg(parseError.offset);
        return std::nullopt;
    }
    if (document.isArray())
        return document.array();
    const QJsonValue records = document.object().value(QLatin1String("records"));
    if (!records.isArray()) {
        *error = QStringLiteral("%1: expected an array of records or an object with a \"records\" array").arg(path);
        return std::nullopt;
    }
    return records.toArray();
}

std::optional<QJsonObject> ReadObjectFile(const QString& path, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (!document.isObject()) {
        *error = QStringLiteral("%1: expected a JSON object (%2)").arg(path, parseError.errorString());
        return std::nullopt;
    }
    return document.object();
}

bool IntFromJson(const QJsonObject& object, const char* key, int& target, QString* error)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (value.isUndefined())
        return true;
    if (!value.isDouble() || value.toDouble() != double(value.toInt())) {
        *error = QStringLiteral("%1: expected an integer").arg(QLatin1String(key));
        return false;
    }
    target = value.toInt();
    return true;
}

QString RecordFileUsage()
{
    return QStringLiteral(
        "\n"
        "A FILE.json of records (write, csv export, pim write) holds an array of records, or an\n"
        "object with a \"records\" array, as a read prints it. A record is an object keyed by member\n"
        "names; a member left out keeps its default, an unknown one or a value of the wrong type\n"
        "refuses the file. Dates are \"YYYY-MM-DDTHH:MM:SS\", null, or {\"m_status\": 0-2, \"m_dt\": days}.\n"
        "Every record has:\n"
        "  m_nIndex      the phone's storage index\n"
        "  m_strEntryID  the PIM item it mirrors\n"
        "  m_nState      0 unchanged, 1 new, 2 changed, 3 deleted\n"
        "  m_nList       the list that holds it: 1 PC, 2 PIM, 3 handset (phone), 4 SIM\n");
}

bool OnlyKnownKeys(const QJsonObject& object, const QStringList& known, QString* error)
{
    for (const QString& key : object.keys()) {
        if (!known.contains(key)) {
            *error = QStringLiteral("%1: not a member of the document").arg(key);
            return false;
        }
    }
    return true;
}

} // namespace recordjson
