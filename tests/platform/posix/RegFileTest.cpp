// Reading .reg files: value types, escapes, encodings, deletions and damaged lines.
#include "platform/posix/RegFile.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using platform::RootKey;
using platform::posix::RegFile;
using namespace std::string_literals;

// A version 5 file as regedit writes it, with the quirks people add by hand.
const std::string kExport = R"(Windows Registry Editor Version 5.00

; written by hand
[HKEY_LOCAL_MACHINE\SOFTWARE\Korvane Group\Ledgerline\4]
"ConfigFile"="\\\\server\\data\\Config.ini"
"Quoted"="say \"hi\""
"Other\Escape"="C:\temp"
@="the default"
"Count"=dword:0000010a
"Zero"=dword:0
"Blob"=hex:0A,ff,10
"Empty"=hex:
"Spool"=hex(2):25,00,53,00,59,00,53,00,25,00,00,00
"Lines"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00
"Raw"=hex(1):41,00,42,00
"Big"=hex(b):01,00,00,00,00,00,00,00
"Long"=hex:01,02,03,\
  04,05,\
  06
  "Spaced" = "yes"
"Accent"="caf)"s + "\xE9" + R"("

[hkey_current_user\Network\z]
"RemotePath"="\\\\srv\\data"

[HKCU\Network\Y]
"RemotePath"="\\\\srv\\other"
)";

constexpr const char* kKorvane = "SOFTWARE\\Korvane Group\\Ledgerline\\4";

TEST(RegFile, ReadsEachKindOfValue) {
    using namespace platform;
    struct Lookup {
        const char* what;
        std::string valueName;
        std::uint32_t type;
        std::string data;
        RootKey root = RootKey::LocalMachine;
        const char* subKey = kKorvane;
    };
    const std::string configFile = "\\\\server\\data\\Config.ini\0"s;
    const std::vector<Lookup> cases = {
        {"escaped backslashes", "ConfigFile", kRegSz, configFile},
        {"escaped quotes", "Quoted", kRegSz, "say \"hi\"\0"s},
        {"other backslashes stay", "Other\\Escape", kRegSz, "C:\\temp\0"s},
        {"default value", "", kRegSz, "the default\0"s},
        {"dword", "Count", kRegDword, "\x0a\x01\0\0"s},
        {"short dword", "Zero", kRegDword, "\0\0\0\0"s},
        {"binary", "Blob", kRegBinary, "\x0a\xff\x10"},
        {"empty binary", "Empty", kRegBinary, ""},
        {"expandable text from UTF-16", "Spool", kRegExpandSz, "%SYS%\0"s},
        {"multi-string from UTF-16", "Lines", kRegMultiSz, "a\0bc\0\0"s},
        {"text without terminator", "Raw", kRegSz, "AB"},
        {"other hex type", "Big", kRegQword, "\x01\0\0\0\0\0\0\0"s},
        {"continuation lines", "Long", kRegBinary, "\x01\x02\x03\x04\x05\x06"},
        {"blanks around =", "Spaced", kRegSz, "yes\0"s},
        {"code-page text", "Accent", kRegSz, "caf\xE9\0"s},
        {"names ignore case", "configfile", kRegSz, configFile, RootKey::LocalMachine,
         "software\\KORVANE group\\ledgerline\\4"},
        {"lower-case root name", "RemotePath", kRegSz, "\\\\srv\\data\0"s, RootKey::CurrentUser,
         "Network\\Z"},
        {"short root name", "RemotePath", kRegSz, "\\\\srv\\other\0"s, RootKey::CurrentUser,
         "network\\y"},
    };
    const RegFile file = RegFile::Parse(kExport);
    for (const Lookup& c : cases) {
        SCOPED_TRACE(c.what);
        const auto* value = file.FindValue(c.root, c.subKey, c.valueName);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(value->data, c.data);
    }
    EXPECT_TRUE(file.SkippedLines().empty());
}

TEST(RegFile, KeysExistWithTheirParents) {
    const RegFile file = RegFile::Parse(kExport);
    const std::tuple<RootKey, const char*, bool> cases[] = {
        {RootKey::LocalMachine, "SOFTWARE\\Korvane Group", true},
        {RootKey::LocalMachine, "SOFTWARE\\Korvane Group\\Ledgerline\\4\\", true},
        {RootKey::Users, "", true},
        {RootKey::LocalMachine, "SOFTWARE\\Korvane", false},
        {RootKey::CurrentUser, "SOFTWARE\\Korvane Group", false},
        {RootKey::LocalMachine, "\\SOFTWARE", false},
    };
    for (const auto& [root, subKey, exists] : cases) {
        EXPECT_EQ(file.HasKey(root, subKey), exists) << subKey;
    }
    EXPECT_EQ(file.SubKeyNames(RootKey::CurrentUser, "Network"),
              (std::vector<std::string>{"Y", "z"}));
    EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "SOFTWARE\\Korvane Group", "ConfigFile"),
              nullptr);
}

TEST(RegFile, LaterLinesReplaceAndDeleteAndOrphanedValuesAreSkipped) {
    const RegFile file = RegFile::Parse(R"(Windows Registry Editor Version 5.00
[HKEY_LOCAL_MACHINE\A\B\C]
"v"="c"
[HKEY_LOCAL_MACHINE\A\D]
"Kept"="1"
"Gone"="1"
"Twice"="first"
[HKEY_LOCAL_MACHINE\A\d]
"gone"=-
"TWICE"="second"
"NeverThere"=-
[-HKEY_LOCAL_MACHINE\A\B]
[-HKEY_LOCAL_MACHINE\X\Y]
"Orphan"="no key to go to"
[HKEY_NOWHERE\B]
"Stray"="no key either"
)");
    EXPECT_FALSE(file.HasKey(RootKey::LocalMachine, "A\\B"));
    EXPECT_FALSE(file.HasKey(RootKey::LocalMachine, "A\\B\\C"));
    EXPECT_TRUE(file.HasKey(RootKey::LocalMachine, "A\\D"));
    EXPECT_NE(file.FindValue(RootKey::LocalMachine, "A\\D", "Kept"), nullptr);
    EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A\\D", "Gone"), nullptr);
    EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A\\D", "Twice")->data, "second\0"s);
    EXPECT_EQ(file.SubKeyNames(RootKey::LocalMachine, "A"), (std::vector<std::string>{"D"}));
    // Values under a deletion header or an unreadable one have no key to go to.
    EXPECT_EQ(file.SkippedLines(), (std::vector<std::size_t>{14, 15, 16}));
}

TEST(RegFile, SkipsDamagedLinesAndKeepsTheRest) {
    std::string deepKey = "[HKEY_LOCAL_MACHINE";
    for (int depth = 0; depth < 513; ++depth) {
        deepKey += "\\k";
    }
    struct Case {
        const char* what;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"unclosed name quote", "\"Name=\"x\""},
        {"unclosed data quote", "\"Name\"=\"x"},
        {"escaped closing quote", "\"Name\"=\"x\\\""},
        {"text after the data", "\"Name\"=\"x\" y"},
        {"missing equals sign", "\"Name\" \"x\""},
        {"unknown data kind", "\"Name\"=qword:1"},
        {"dword too long", "\"Name\"=dword:000000001"},
        {"dword not hex", "\"Name\"=dword:0000001g"},
        {"dword empty", "\"Name\"=dword:"},
        {"hex byte too long", "\"Name\"=hex:001"},
        {"hex doubled comma", "\"Name\"=hex:01,,02"},
        {"hex type unclosed", "\"Name\"=hex(2:00"},
        {"hex without colon", "\"Name\"=hex 00"},
        {"hex cut off at the end of file", "\"Name\"=hex:01,\\"},
        {"hex continued by a non-hex line", "\"Name\"=hex:01,\\\n[HKEY_LOCAL_MACHINE\\A]"},
        {"stray text", "garbage"},
        {"header not closed", "[HKEY_LOCAL_MACHINE\\Broken"},
        {"unknown root", "[HKEY_NOWHERE\\A]"},
        {"deleting a root", "[-HKEY_LOCAL_MACHINE]"},
        {"empty header", "[]"},
        {"key name too long", "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]"},
        {"key too deep", deepKey + "]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The damaged line sits between two good ones, under a good header, or at the end.
        const RegFile file =
            RegFile::Parse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Before\"=\"1\"\r\n" + c.line +
                           "\r\n\"After\"=\"2\"\r\n[HKEY_LOCAL_MACHINE\\B]\r\n\"Next\"=\"3\"");
        const RegFile atEnd =
            RegFile::Parse("[HKEY_LOCAL_MACHINE\\A]\n\"Before\"=\"1\"\n" + c.line);
        EXPECT_NE(file.FindValue(RootKey::LocalMachine, "A", "Before"), nullptr);
        EXPECT_NE(file.FindValue(RootKey::LocalMachine, "B", "Next"), nullptr);
        EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A", "Name"), nullptr);
        EXPECT_FALSE(file.SkippedLines().empty());
        EXPECT_EQ(file.SkippedLines().front(), 4u);
        EXPECT_NE(atEnd.FindValue(RootKey::LocalMachine, "A", "Before"), nullptr);
        EXPECT_FALSE(atEnd.SkippedLines().empty());
    }
}

std::string Utf16Le(const std::u16string& text) {
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    return bytes;
}

// Each file holds the value HKEY_USERS\S "v", read into the code page whatever the encoding.
TEST(RegFile, EncodingsAndLineEnds) {
    const std::pair<std::string, std::string> cases[] = {
        {Utf16Le(u"Windows Registry Editor Version 5.00\r\n\r\n[HKEY_USERS\\S]\r\n"
                 u"\"v\"=\"\u20ac 5\"\r\n"),
         "\x80 5\0"s},
        {"\xEF\xBB\xBF[HKEY_USERS\\S]\n\"v\"=\"\xE2\x82\xAC\"\n", "\x80\0"s},
        {"REGEDIT4\n[HKEY_USERS\\S]\n\"v\"=hex(2):25,41,25,00\n", "%A%\0"s},
        {"REGEDIT4\n[HKEY_USERS\\S]\n\"v\"=hex(7):61,00,62,00,00\n", "a\0b\0\0"s},
        {"REGEDIT4\r[HKEY_USERS\\S]\r\"v\"=\"1\"\r", "1\0"s},
    };
    for (const auto& [bytes, data] : cases) {
        SCOPED_TRACE(bytes);
        const auto* value = RegFile::Parse(bytes).FindValue(RootKey::Users, "S", "v");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->data, data);
    }
    const RegFile utf16 = RegFile::Parse(Utf16Le(u"[HKEY_CURRENT_USER\\Caf\u00e9]\r\n"));
    EXPECT_TRUE(utf16.HasKey(RootKey::CurrentUser, "CAF\xC9"));
    const RegFile withNul = RegFile::Parse("[HKEY_USERS\\S]\n\"n\0m\"=hex:00\n"s);
    EXPECT_NE(withNul.FindValue(RootKey::Users, "S", "n\0m"s), nullptr);
    EXPECT_TRUE(RegFile::Parse("").SkippedLines().empty());
    EXPECT_TRUE(RegFile::Parse("\xFF\xFE").HasKey(RootKey::LocalMachine, ""));
}

} // namespace
