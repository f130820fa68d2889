#include "favouritesfile.h"

#include <QList>
#include <QStringDecoder>

#include <array>
#include <optional>

namespace favourites {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five bytes the code page leaves
// undefined stand for the control characters of the same number, as Windows
// itself maps them.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QChar fromWindows1252(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return QChar(kHighControls[byte - 0x80u]);
    return QChar(byte);
}

std::optional<char> toWindows1252(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<char>(u);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == u)
            return static_cast<char>(0x80 + i);
    }
    return std::nullopt;
}

} // namespace

QString decodeFileText(const QByteArray& bytes)
{
    if (const std::optional<QStringConverter::Encoding> marked = QStringConverter::encodingForData(bytes))
        return QStringDecoder(*marked)(bytes); // the mark itself is skipped
    // Stateless: a sequence cut at the end is an error, not kept for later.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QString latin;
    latin.reserve(bytes.size());
    for (const char byte : bytes)
        latin += fromWindows1252(static_cast<unsigned char>(byte));
    return latin;
}

QByteArray encodeFileText(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar c : text) {
        const std::optional<char> byte = toWindows1252(c);
        if (!byte)
            return text.toUtf8();
        bytes += *byte;
    }
    // Windows-1252 bytes that also form UTF-8 ("ß®" is DF AE) would load as
    // other characters; UTF-8 itself loads as what was written.
    return decodeFileText(bytes) == text ? bytes : text.toUtf8();
}

QString withoutLineBreaks(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String(" "));
    result.replace(QLatin1Char('\r'), QLatin1Char(' '));
    result.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return result;
}

QByteArray fileContent(const SlotTable& table, const std::function<QString(const char* field)>& fieldText)
{
    const QString lineEnd = QStringLiteral("\r\n");
    QString text = QLatin1Char('[') + QLatin1String(kSection) + QLatin1Char(']') + lineEnd;
    for (const Slot& slot : table.rows) {
        for (std::size_t column = 0; column < ColumnCount; ++column) {
            if (slot.fields[column])
                text += QLatin1String(slot.keys[column]) + QLatin1Char('=') +
                        withoutLineBreaks(fieldText(slot.fields[column])) + lineEnd;
        }
    }
    return encodeFileText(text);
}

Profile::Profile(const QByteArray& content, int maxValueLength)
{
    QString text = decodeFileText(content);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n')); // a lone CR ends a line too
    QString section;
    bool inSection = false;
    for (QStringView line : QStringView(text).split(QLatin1Char('\n'))) {
        const QStringView trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char(';')))
            continue;
        if (trimmed.startsWith(QLatin1Char('['))) {
            QStringView name = trimmed.mid(1);
            const qsizetype close = name.indexOf(QLatin1Char(']'));
            if (close >= 0)
                name = name.left(close);
            section = name.trimmed().toString().toCaseFolded();
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals < 0)
            continue;
        QStringView value = line.mid(equals + 1);
        if (value.size() > maxValueLength) // never cut a character in half
            value = value.left(value[maxValueLength - 1].isHighSurrogate() ? maxValueLength - 1 : maxValueLength);
        const QString key = section + QLatin1Char('\n') + line.left(equals).trimmed().toString().toCaseFolded();
        if (!m_values.contains(key)) // the first of repeated keys counts
            m_values.insert(key, value.toString());
    }
}

QString Profile::value(const QString& section, const QString& key) const
{
    return m_values.value(section.toCaseFolded() + QLatin1Char('\n') + key.toCaseFolded());
}

QString profileValue(const QByteArray& content, const QString& section, const QString& key)
{
    return Profile(content).value(section, key);
}

} // namespace favourites
