#include "platform/ini_text.h"

#include <gtest/gtest.h>

namespace vellumar {
namespace {

// A file of UTF-16 code units with its byte-order mark.
std::string Utf16(std::u16string_view units, bool big_endian = false) {
    std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += big_endian ? high : low;
        bytes += big_endian ? low : high;
    }
    return bytes;
}

TEST(IniText, EveryFileReadsAndComesBackAsItWasWithOneLineChanged) {
    const struct {
        const char* what;
        std::string before;
        std::optional<std::string> ontop;  // Get("Setting", "Ontop") before the edit
        std::string after;                 // after Set("Setting", "Ontop", "1")
    } cases[] = {
        {"empty", "", std::nullopt, "[Setting]\r\nOntop=1\r\n"},
        {"CR LF", "; mine\r\n[setting]\r\n  ONTOP = 0 \r\nAutomin=1\r\n", "0",
         "; mine\r\n[setting]\r\nONTOP=1\r\nAutomin=1\r\n"},
        {"LF", "[Setting]\nAutomin=1\n\n[Memory]\nx=1", std::nullopt,
         "[Setting]\nAutomin=1\nOntop=1\n\n[Memory]\nx=1"},
        {"CR", "[Setting]\rAutomin=1\rOntop=0\r", "0", "[Setting]\rAutomin=1\rOntop=1\r"},
        {"CR, new section", "[Memory]\rx=1", std::nullopt, "[Memory]\rx=1\r[Setting]\rOntop=1\r"},
        {"mixed", "[Memory]\r\nx=1\n[Setting]\rAutomin=1", std::nullopt,
         "[Memory]\r\nx=1\n[Setting]\rAutomin=1\r\nOntop=1\r\n"},
        {"ANSI", "[Memory]\r\nx=\xC4\xE3", std::nullopt,
         "[Memory]\r\nx=\xC4\xE3\r\n[Setting]\r\nOntop=1\r\n"},
        {"UTF-8", "; \xE4\xBD\xA0\xE5\xA5\xBD\n[Setting]\nOntop= \"0\" \n", "0",
         "; \xE4\xBD\xA0\xE5\xA5\xBD\n[Setting]\nOntop=1\n"},
        {"UTF-8 BOM", "\xEF\xBB\xBF[Setting]\r\nOntop=0\r\n", "0",
         "\xEF\xBB\xBF[Setting]\r\nOntop=1\r\n"},
        {"UTF-16 LE", Utf16(u"; \u4F60\xD83D\xDE00\xD800!\r\n[Setting]\r\nOntop=0\r\n"), "0",
         Utf16(u"; \u4F60\xD83D\xDE00\xD800!\r\n[Setting]\r\nOntop=1\r\n")},
        {"UTF-16 BE, CR", Utf16(u"[Setting]\rOntop=0\r", true), "0",
         Utf16(u"[Setting]\rOntop=1\r", true)},
        {"UTF-16, odd last byte", Utf16(u"[Setting]\r\n") + "X", std::nullopt,
         Utf16(u"[Setting]\r\nOntop=1\r\n") + "X"},
        {"comments", ";[Setting]\r\nOntop=7\r\n[Setting]\r\n; Ontop=5\r\n#\r\nontop = 0\r\n", "0",
         ";[Setting]\r\nOntop=7\r\n[Setting]\r\n; Ontop=5\r\n#\r\nontop=1\r\n"},
        {"duplicate sections", "[Setting]\r\nAutomin=1\r\n[Memory]\r\n[SETTING]\r\nOntop=0\r\n",
         std::nullopt, "[Setting]\r\nAutomin=1\r\nOntop=1\r\n[Memory]\r\n[SETTING]\r\nOntop=0\r\n"},
        {"duplicate keys", "[Setting]\r\nOntop=0\r\nOntop=5\r\n", "0",
         "[Setting]\r\nOntop=1\r\nOntop=5\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IniText ini = IniText::FromBytes(c.before);
        EXPECT_EQ(ini.ToBytes(), c.before);
        EXPECT_EQ(ini.Get("SETTING", "ontop"), c.ontop);
        ini.Set("Setting", "Ontop", "1");
        EXPECT_EQ(ini.ToBytes(), c.after);
        const IniText again = IniText::FromBytes(ini.ToBytes());
        EXPECT_EQ(again.Get("Setting", "Ontop"), "1");
        EXPECT_EQ(again.ToBytes(), c.after);
    }
}

}  // namespace
}  // namespace vellumar
