// Reading .reg files: value types, escapes, encodings, deletions and damaged lines.
#include "ledgerline/platform/posix/RegFile.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

using platform::RootKey;
using platform::posix::RegFile;
using namespace std::string_literals;
using Lines = std::vector<std::size_t>;

// A version 5 file as regedit writes it, with the quirks people add by hand.
const std::string kExport = R"(Windows Registry Editor Version 5.00

; written by hand
[HKEY_LOCAL_MACHINE\SOFTWARE\Korvane Group\Ledgerline\4]
"ConfigFile"="\\\\server\\data\\Config.ini"
"Quoted"="say \"hi\""
"Other\Escape"="C:\temp"
@="the default"
"Count"=dword:0000010a
"Blob"=hex:0A,ff,10
"Empty"=hex:
"Spool"=hex(2):25,00,53,00,59,00,53,00,25,00,00,00
"Lines"=hex(7):61,00,00,00,62,00,63,00,00,00,00,00
"Raw"=hex(1):41,00,42,00
"Long"=hex:01,02,03,\
  04,05,\
  \
  06
  "Spaced" = "yes"

[hkey_current_user\Network\z]
"RemotePath"="\\\\srv\\data"

[HKCU\Network\Y]
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
    const std::vector<Lookup> values = {
        {"escaped backslashes", "ConfigFile", kRegSz, configFile},
        {"escaped quotes", "Quoted", kRegSz, "say \"hi\"\0"s},
        {"other backslashes stay", "Other\\Escape", kRegSz, "C:\\temp\0"s},
        {"default value", "", kRegSz, "the default\0"s},
        {"dword", "Count", kRegDword, "\x0a\x01\0\0"s},
        {"binary", "Blob", kRegBinary, "\x0a\xff\x10"},
        {"empty binary", "Empty", kRegBinary, ""},
        {"expandable text from UTF-16", "Spool", kRegExpandSz, "%SYS%\0"s},
        {"multi-string from UTF-16", "Lines", kRegMultiSz, "a\0bc\0\0"s},
        {"text without terminator", "Raw", kRegSz, "AB"},
        {"continuation lines, one empty", "Long", kRegBinary, "\x01\x02\x03\x04\x05\x06"},
        {"blanks around =", "Spaced", kRegSz, "yes\0"s},
        {"names ignore case", "configfile", kRegSz, configFile, RootKey::LocalMachine,
         "software\\KORVANE group\\ledgerline\\4"},
        {"lower-case root name", "RemotePath", kRegSz, "\\\\srv\\data\0"s, RootKey::CurrentUser,
         "Network\\Z"},
    };
    const RegFile file = RegFile::Parse(kExport);
    for (const Lookup& c : values) {
        SCOPED_TRACE(c.what);
        const auto* value = file.FindValue(c.root, c.subKey, c.valueName);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->type, c.type);
        EXPECT_EQ(value->data, c.data);
    }
    EXPECT_TRUE(file.SkippedLines().empty());
    // Keys exist with their parents.
    const std::tuple<RootKey, const char*, bool> keys[] = {
        {RootKey::LocalMachine, "SOFTWARE\\Korvane Group", true},
        {RootKey::LocalMachine, "SOFTWARE\\Korvane Group\\Ledgerline\\4\\", true},
        {RootKey::Users, "", true},
        {RootKey::LocalMachine, "SOFTWARE\\Korvane", false},
        {RootKey::CurrentUser, "SOFTWARE\\Korvane Group", false},
        {RootKey::LocalMachine, "\\SOFTWARE", false},
    };
    for (const auto& [root, subKey, exists] : keys) {
        EXPECT_EQ(file.HasKey(root, subKey), exists) << subKey;
    }
    EXPECT_EQ(file.SubKeyNames(RootKey::CurrentUser, "Network"),
              (std::vector<std::string>{"Y", "z"}));
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
[-HKEY_LOCAL_MACHINE\A\B]
[-HKEY_LOCAL_MACHINE\X\Y]
"Orphan"="no key to go to"
)");
    EXPECT_FALSE(file.HasKey(RootKey::LocalMachine, "A\\B\\C"));
    EXPECT_NE(file.FindValue(RootKey::LocalMachine, "A\\D", "Kept"), nullptr);
    EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A\\D", "Gone"), nullptr);
    EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A\\D", "Twice")->data, "second\0"s);
    EXPECT_EQ(file.SubKeyNames(RootKey::LocalMachine, "A"), (std::vector<std::string>{"D"}));
    // A value under a deletion header has no key to go to.
    EXPECT_EQ(file.SkippedLines(), (Lines{13}));
}

TEST(RegFile, SkipsDamagedLinesAndKeepsTheRest) {
    const std::string cases[] = {
        "\"Name=\"x\"",                // unclosed name quote
        "\"Name\"=\"x",                // unclosed data quote
        "\"Name\"=\"x\" y",            // text after the data
        "\"Name\" \"x\"",              // missing equals sign
        "\"Name\"=qword:1",            // unknown data kind
        "\"Name\"=dword:000000001",    // dword too long
        "\"Name\"=dword:0000001g",     // dword not hex
        "\"Name\"=dword:",             // dword empty
        "\"Name\"=hex:001",            // hex byte too long
        "\"Name\"=hex:01,,02",         // hex doubled comma
        "\"Name\"=hex 00",             // hex without colon
        "\"Name\"=hex:01,\\",          // hex continued by a line that is no hex
        "garbage",                     // stray text
        "[HKEY_LOCAL_MACHINE\\Broken", // header not closed
        "[HKEY_NOWHERE\\A]",           // unknown root
        "[-HKEY_LOCAL_MACHINE]",       // deleting a root
        "[]",                          // empty header
        "[HKEY_LOCAL_MACHINE\\" + std::string(256, 'k') + "]", // key name too long
    };
    for (const std::string& line : cases) {
        SCOPED_TRACE(line);
        // The damaged line sits between two good ones, under a good header; only a damaged
        // header leaves the value after it nowhere to go.
        const RegFile file =
            RegFile::Parse("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"Before\"=\"1\"\r\n" + line +
                           "\r\n\"After\"=\"2\"\r\n[HKEY_LOCAL_MACHINE\\B]\r\n\"Next\"=\"3\"");
        EXPECT_NE(file.FindValue(RootKey::LocalMachine, "A", "Before"), nullptr);
        const bool header = line.starts_with('[');
        EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A", "After") != nullptr, !header);
        EXPECT_NE(file.FindValue(RootKey::LocalMachine, "B", "Next"), nullptr);
        EXPECT_EQ(file.FindValue(RootKey::LocalMachine, "A", "Name"), nullptr);
        EXPECT_EQ(file.SkippedLines(), (header ? Lines{4, 5} : Lines{4}));
    }
    EXPECT_EQ(RegFile::Parse("[HKEY_USERS\\S]\n\"v\"=hex:01,\\").SkippedLines(), (Lines{2}));
}

// Each file holds the value HKEY_USERS\S "v", read into the code page whatever the encoding.
TEST(RegFile, EncodingsAndLineEnds) {
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : std::u16string(u"[HKU\\S]\r\n\"v\"=\"\u20ac 5\"\r\n")) {
        utf16 += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    const std::pair<std::string, std::string> cases[] = {
        {utf16, "\x80 5\0"s},
        {"\xEF\xBB\xBF[HKEY_USERS\\S]\n\"v\"=\"\xE2\x82\xAC\"\n", "\x80\0"s},
        {"REGEDIT4\n[HKEY_USERS\\S]\n\"v\"=hex(7):61,00,62,00,00\n", "a\0b\0\0"s},
        {"REGEDIT4\r[HKEY_USERS\\S]\r\"v\"=\"1\"\r", "1\0"s},
    };
    for (const auto& [bytes, data] : cases) {
        SCOPED_TRACE(bytes);
        const RegFile file = RegFile::Parse(bytes);
        const auto* value = file.FindValue(RootKey::Users, "S", "v");
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->data, data);
    }
}

} // namespace
