// Reading one entry (GetPPS, Boolean and numeric entries) and the start-up readers built on it.
#include "ledgerline/config/ReadingConventions.h"

#include "config/ConfigDoubles.h"
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/config/BConfigFile.h"
#include "ledgerline/config/ConfigReaders.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

using namespace BConfigFile;
using ldgr::test::ConfigWorld;

constexpr const char* kFile = "C:\\Users\\pat\\LdgrApp\\ldgrmake.ini";

class ReadingTest : public ::testing::Test {
protected:
    // Opens content as kFile, closing the file opened before; the last is closed at the end.
    std::int32_t Open(std::string content) {
        KorvaneIni::CloseIni(hIniFile);
        world.files.Put(kFile, std::move(content));
        return hIniFile = KorvaneIni::OpenIni(kFile);
    }
    ~ReadingTest() override { KorvaneIni::CloseIni(hIniFile); }

    // The styles, titles and texts of the boxes shown since the last call, as one text.
    std::string TakeBoxes() {
        std::string all;
        for (const auto& box : std::exchange(world.desktop.boxes, {})) {
            all += "<" + std::to_string(box.style) + "|" + box.title + "|" + box.text + ">";
        }
        return all;
    }

    ConfigWorld world;
    std::int32_t hIniFile = 0;
};

// The whole box, the value that reads as a missing entry, and the buffer's cut.
TEST_F(ReadingTest, GetPPSMissingEntriesAndLongValues) {
    const std::string missing =
        "<48|Ledgerline|Entry [GENERAL].Key not found in file:\r" + std::string(kFile) + ">";
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"Other=1", kNotFound, missing},
        {"Key=!2@3#4$5%6^7&8*9(0)[-]", kNotFound, missing},
        {"Key=!2@3#4$5%6^7&8*9(0)[-]x", "!2@3#4$5%6^7&8*9(0)[-]x", ""},
        {"Key=" + std::string(3000, 'v'), std::string(2047, 'v'), ""},
    };
    for (const auto& [content, result, boxes] : cases) {
        SCOPED_TRACE(content.substr(0, 40));
        const std::int32_t handle = Open("[GENERAL]\r\n" + content);
        EXPECT_EQ(GetPPS("GENERAL", "Key", kFile, handle, false, false), result);
        EXPECT_EQ(TakeBoxes(), boxes);
    }
}

TEST_F(ReadingTest, BooleanEntries) {
    struct Case {
        const char* value;
        bool loose;
        std::optional<bool> strict;
    };
    const Case cases[] = {
        {"True", true, true}, {"true", true, true}, {"False", false, false},
        {"yes", true, true},  {"Y", true, true},    {"1", true, true},
        {"no", false, false}, {"0", false, false},  {"nonsense", false, false},
        {"2", false, {}},     {"maybe", false, {}}, {"", false, {}},
    };
    const EntrySource source{"GENERAL", kFile, 0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(IsTrueText(c.value), c.loose);
        EXPECT_EQ(ReadStrictBoolean(source, "LogSilent", c.value), c.strict);
        EXPECT_EQ(std::exchange(world.desktop.boxes, {}).size(), c.strict ? 0u : 1u);
    }
}

TEST(NumericEntries, IsNumeric) {
    for (const char* numeric :
         {"0", "-1", "+2", "2.5", ".5", "5.", " 3 ", "\t3", "1e0", "1E+3", "-2.5e-3", "0079"}) {
        EXPECT_TRUE(IsNumeric(numeric)) << numeric;
    }
    for (const char* other : {"", " ", "abc", "1a", "--1", "+", ".", "1e", "e5", "1 2", "1,5",
                              "&H10", "0x10", "$5", "1.2.3", "1e2.5"}) {
        EXPECT_FALSE(IsNumeric(other)) << other;
    }
}

TEST(NumericEntries, RoundHalfEven) {
    const double values[] = {2.5, 3.5,  -2.5,  -3.5,   0.5,         2.4,
                             2.6, -0.4, 1e300, -1e300, 2147483647.4};
    const std::int32_t rounded[] = {2, 4, -2, -4, 0, 2, 3, 0, INT32_MAX, INT32_MIN, INT32_MAX};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(RoundHalfEven(values[i]), rounded[i]) << values[i];
    }
}

TEST_F(ReadingTest, ReadNumberChecksTheTextThenTheRange) {
    const EntrySource source{"Printer 1", kFile, 0};
    struct Case {
        std::string value;
        std::optional<std::int32_t> result;
        const char* message;
    };
    const Case cases[] = {
        {" 2.5 ", 2, nullptr},
        {"10.4", 10, nullptr},
        {"10.6", std::nullopt, "is not valid"},
        {"-1", std::nullopt, "is not valid"},
        {"1e400", std::nullopt, "is not valid"},
        {"1e-400", 0, nullptr},
        // Too small for a double, not too large, whatever its sign.
        {"-0." + std::string(400, '0') + "1e5", 0, nullptr},
        // Exponents at the end of their range still tell a large number from a small one.
        {"0.1e9223372036854775807", std::nullopt, "is not valid"},
        {"1e9223372036854775807", std::nullopt, "is not valid"},
        {"0.1e-9223372036854775807", 0, nullptr},
        {"x", std::nullopt, "is not numeric"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ReadNumber(source, "Copies", c.value, 0, 10.5), c.result);
        EXPECT_EQ(TakeBoxes(), c.message ? "<48|Ledgerline|Entry [Printer 1].Copies " +
                                               std::string(c.message) +
                                               " in configuration file:\r" + kFile + ">"
                                         : "");
    }
}

// The version may be any 32-bit number; no number is version 0.
TEST_F(ReadingTest, GetConfigFileVersion) {
    const std::tuple<const char*, std::int32_t, const char*> cases[] = {
        {"Version=-2147483648", INT32_MIN, nullptr},
        {"Version=2147483648", 0, "is not valid in configuration file:"},
        {"", 0, "not found in file:"},
        {"Version= \r\n", 0, "is blank in file:"}};
    for (const auto& [entry, version, box] : cases) {
        SCOPED_TRACE(entry);
        world.files.Put(kFile, std::string("[GENERAL]\r\n") + entry);
        EXPECT_EQ(BCommon::GetConfigFileVersion(kFile), version);
        EXPECT_EQ(TakeBoxes(), box ? "<48|Ledgerline|Entry [GENERAL].Version " + std::string(box) +
                                         "\r" + kFile + ">"
                                   : "");
    }
}

// An option's blank or missing entry is told nothing, every failing open is; the data file's
// missing entry is told.
TEST_F(ReadingTest, StartupReaders) {
    world.files.Put(kFile, "[General]\r\nBlank=\r\n");
    EXPECT_EQ(BCommon::GetGeneralOption(kFile, "Blank"), "");
    EXPECT_EQ(BCommon::GetGeneralOption(kFile, "Missing"), "");
    BCommon::GetGeneralOption("C:\\none.ini", "a");
    BCommon::GetGeneralOption("C:\\none.ini", "b");
    EXPECT_EQ(std::exchange(world.desktop.boxes, {}).size(), 2u);
    BCommon::Env().m_sconfigfile = kFile;
    EXPECT_EQ(BCommon::GetDataPath(), "");
    EXPECT_EQ(TakeBoxes(), "<48|Ledgerline|Entry [GENERAL].DataFile not found in file:\r" +
                               std::string(kFile) + ">");
}

} // namespace
