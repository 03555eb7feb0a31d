#include "common/progress_text.h"

namespace common {

QString FormatProgress(const QString& format, std::initializer_list<int> values, MissingValue missing)
{
    QString text;
    auto value = values.begin();
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (format[i] != u'%' || i + 1 >= format.size()) {
            text += format[i];
            continue;
        }
        const QChar kind = format[i + 1];
        if (kind == u'%') {
            text += u'%';
            ++i;
        } else if (kind == u'd' && value != values.end()) {
            text += QString::number(*value++);
            ++i;
        } else if (kind == u'd') {
            if (missing == MissingValue::CutText)
                return text.trimmed();
            ++i;
        } else {
            text += format[i];
        }
    }
    return text;
}

} // namespace common
