#include "favourites/favouritesfile.h"
#include "platform/desktopfiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <QHash>

namespace {

using namespace favourites;

// Field texts as a window would hold them: each field holds a text made from its name.
struct Fields {
    QHash<QByteArray, QString> texts;
    QString operator()(const char* name) const { return texts.value(name); }
};

// Keys in the original program's spelling, each line ended with CR LF.
TEST(FavouritesFile, WritesEveryKeyInOrderWithCrLf)
{
    const QByteArray ut2004 = fileContent(kUt2004Slots, [](const char* name) { return QString::fromLatin1(name); });
    EXPECT_TRUE(ut2004.startsWith("[SERVER]\r\nServerName=ServerName04\r\nServerIP=ServerIP04\r\n"));
    EXPECT_TRUE(ut2004.contains("\r\nServerIP5=ServerIp045\r\n")); // the oddly named slot 5 address field
    EXPECT_TRUE(ut2004.endsWith("\r\nServerPort6=ServerPort046\r\n"));
    EXPECT_EQ(ut2004.count("\r\n"), 1 + 6 * 3);
}

// Every text comes back as typed after a save and a new start: through the
// real file writer and reader, on disk.
TEST(FavouritesFile, RoundTripKeepsEveryTextExactly)
{
    const QString texts[] = {
        QString(),
        QStringLiteral("  blanks before and after  "),
        QStringLiteral(";not a comment"),
        QStringLiteral("Café «Ünreal» €5"), // Windows-1252
        QStringLiteral("-=ß®=- Clan"),      // Windows-1252 bytes DF AE that also form UTF-8
        QStringLiteral("™ • … ‰ Ÿ"),        // symbols of 0x80-0x9F
        QStringLiteral("Сервер 東京 玩家"), // no Windows-1252: the file becomes UTF-8
        QString(254, QLatin1Char('x')),
        QString(252, QLatin1Char('x')) + QStringLiteral("\U0001F600"), // a pair that ends at 254
    };
    QTemporaryDir dir;
    AtomicFileReplacer writer;
    for (const SlotTable* table : {&kUt99Slots, &kUt2004Slots, &kUt3Slots}) {
        const QString path = dir.filePath(QLatin1String(table->fileName));
        for (const QString& text : texts) {
            SCOPED_TRACE(text.toStdString());
            Fields fields;
            int i = 0;
            for (const Slot& slot : table->rows)
                for (const char* f : slot.fields)
                    if (f)
                        fields.texts[f] = (i++ % 2) ? text : QString::fromLatin1(f);
            ASSERT_EQ(writer.replace(path, fileContent(*table, fields)), std::nullopt);
            IniProfileReader reader; // a new start
            Fields loaded;
            for (const Slot& slot : table->rows)
                for (std::size_t c = 0; c < ColumnCount; ++c)
                    if (slot.fields[c])
                        loaded.texts[slot.fields[c]] =
                            reader.read(path, QLatin1String(kSection), QLatin1String(slot.keys[c]));
            EXPECT_EQ(loaded.texts, fields.texts);
        }
    }
}

TEST(FavouritesFile, EncodingIsWindows1252UnlessATextDoesNotFit)
{
    const auto file = [](const QString& name) {
        return fileContent(kUt99Slots, [&](const char* f) { return qstrcmp(f, "ServerName") == 0 ? name : QString(); });
    };
    EXPECT_TRUE(file(QStringLiteral("Café €")).contains("ServerName=Caf\xE9 \x80\r\n"));
    EXPECT_TRUE(file(QStringLiteral("a\u00A0b"))
                    .contains("ServerName=a\xA0"
                              "b\r\n")); // the no-break space too
    EXPECT_TRUE(file(QStringLiteral("Ж")).contains("ServerName=\xD0\x96\r\n"));
    // A file of the original program: Windows-1252 bytes that are not valid UTF-8, the whole row of
    // 0x80 to 0x9F among them (an undefined byte stands for its control character).
    QByteArray row;
    for (int byte = 0x80; byte <= 0x9F; ++byte)
        row += static_cast<char>(byte);
    EXPECT_EQ(profileValue("[SERVER]\r\nServerName=Caf\xE9 " + row + "\r\n", QStringLiteral("SERVER"),
                           QStringLiteral("ServerName")),
              QStringLiteral("Café €\u0081‚ƒ„…†‡ˆ‰Š‹Œ\u008DŽ\u008F\u0090‘’“”•–—˜™š›œ\u009DžŸ"));
}

TEST(FavouritesFile, ReaderEdgeCases)
{
    struct Case {
        const char* what;
        QByteArray file;
        const char* key;
        QString expected;
    };
    const QByteArray longValue(300, 'v');
    const Case cases[] = {
        {"a 300-character value loads as 254", "[SERVER]\r\nServerName=" + longValue + "\r\n", "ServerName",
         QString(254, QLatin1Char('v'))},
        {"LF line ends", "[SERVER]\nServerName=a\nQueryPort=7778\n", "QueryPort", QStringLiteral("7778")},
        {"the section after another", "[OTHER]\r\nServerName=x\r\n[SERVER]\r\nServerName=y\r\n", "ServerName",
         QStringLiteral("y")},
        {"letter case of section and key", "[server]\r\nSERVERNAME=x\r\n", "ServerName", QStringLiteral("x")},
        {"the first of repeated keys", "[SERVER]\r\nServerName=a\r\nServerName=b\r\n", "ServerName",
         QStringLiteral("a")},
        {"comment lines are skipped", "[SERVER]\r\n;ServerName=a\r\nServerName=b\r\n", "ServerName",
         QStringLiteral("b")},
        {"a lone CR ends a line", "[SERVER]\rServerName=a\rQueryPort=7778\r", "QueryPort", QStringLiteral("7778")},
        {"UTF-8 with a byte-order mark", "\xEF\xBB\xBF[SERVER]\r\nServerName=\xC3\x9F\r\n", "ServerName",
         QStringLiteral("ß")},
        {"UTF-16 with a byte-order mark", QByteArray("\xFF\xFE[\0S\0E\0R\0V\0E\0R\0]\0\n\0a\0=\0\xDF\0", 26), "a",
         QStringLiteral("ß")},
        {"binary rubbish", QByteArray("\0\xFF[\x01=\r", 6), "ServerName", {}},
        {"never cut inside a character", "[SERVER]\r\nServerName=" + QByteArray(253, 'a') + "\xF0\x9F\x98\x80\r\n",
         "ServerName", QString(253, QLatin1Char('a'))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(profileValue(c.file, QStringLiteral("SERVER"), QString::fromLatin1(c.key)), c.expected);
    }
}

} // namespace
