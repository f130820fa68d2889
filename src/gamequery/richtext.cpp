#include "serverstatus.h"

namespace gamequery {

QString Colour::name() const
{
    return QStringLiteral("#%1%2%3")
        .arg(red, 2, 16, QLatin1Char('0'))
        .arg(green, 2, 16, QLatin1Char('0'))
        .arg(blue, 2, 16, QLatin1Char('0'));
}

QString RichText::plain() const
{
    QString text;
    for (const Run& run : runs)
        text += run.text;
    return text;
}

RichText RichText::fromPlain(const QString& text)
{
    RichText rich;
    if (!text.isEmpty())
        rich.runs.push_back({std::nullopt, text});
    return rich;
}

} // namespace gamequery
