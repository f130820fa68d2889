#pragma once

#include "favouriteslots.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <functional>

// The favourites files: a "[SERVER]" section with one "key=value" line per
// field, every line ending in CR LF. Values are texts exactly as the fields
// held them. The files are 8-bit Windows-1252, as the original program's are;
// a file holding text that code page cannot carry is written in UTF-8.
namespace favourites {

inline constexpr int kMaxValueLength = 254; // the most a value loads as
inline constexpr char kSection[] = "SERVER";

// The whole file for a game's fields, read through fieldText(field name).
QByteArray fileContent(const SlotTable& table, const std::function<QString(const char* field)>& fieldText);

// A settings file read once, its values looked up as a private-profile reader
// gives them: section and key compared without regard to letter case, the
// first matching line taken, the value being the rest of the line after the
// first "=", cut to kMaxValueLength characters (or as told) without splitting a character.
// Lines end in CR LF, LF or CR. Empty when the section or key is missing.
class Profile {
public:
    explicit Profile(const QByteArray& content = {}, int maxValueLength = kMaxValueLength);
    QString value(const QString& section, const QString& key) const;

private:
    QHash<QString, QString> m_values; // "section\nkey", case-folded
};

QString profileValue(const QByteArray& content, const QString& section, const QString& key);

// Text of a file: as its byte-order mark says (UTF-8 or UTF-16), else UTF-8
// when the bytes are valid UTF-8, else Windows-1252.
QString decodeFileText(const QByteArray& bytes);
// Windows-1252 when every character fits and the bytes read back as the same
// text, else UTF-8.
QByteArray encodeFileText(const QString& text);

// A line break pasted into a field would split its line in the file; each
// break (CR LF, CR or LF) becomes one blank.
QString withoutLineBreaks(const QString& text);

} // namespace favourites
