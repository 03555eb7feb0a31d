#include "platform/ansi_width.h"

namespace platform {

namespace {

// Units taken and width of the character that starts at i.
struct Step {
    qsizetype units;
    int width;
};

Step stepAt(QStringView text, qsizetype i)
{
    const QChar c = text[i];
    if (c.unicode() <= 0xFF)
        return {1, 1};
    if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return {2, 2};
    return {1, 2};
}

} // namespace

int ansiWidth(QStringView text)
{
    int width = 0;
    for (qsizetype i = 0; i < text.size();) {
        const Step step = stepAt(text, i);
        width += step.width;
        i += step.units;
    }
    return width;
}

QString ansiLeft(const QString& text, int n)
{
    int width = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const Step step = stepAt(text, i);
        if (width + step.width > n)
            break;
        width += step.width;
        i += step.units;
    }
    return i == text.size() ? text : text.left(i);
}

} // namespace platform
