// Module BConfigFile: the INI line writers and the choice of the configuration file.
#include "ledgerline/config/BConfigFile.h"

#include "config/ConfigDoubles.h"
#include "ledgerline/common/Environment.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::ConfigWorld;

constexpr const char* kOut = "C:\\cfg\\Config.ini";

class WriterTest : public ::testing::Test {
protected:
    ConfigWorld world;
    std::unique_ptr<platform::TextFile> file =
        world.files.OpenText(kOut, platform::OpenMode::Output, platform::ShareMode::DenyNone);
};

// Keys padded to 24 characters; a value is written as given, however long a workstation reads it.
TEST_F(WriterTest, LinesAreWrittenInTheFileFormat) {
    const std::string key24 = "ABCDEFGHIJKLMNOPQRSTUVWX";
    const std::string sLong(BConfigFile::kLongestValue + 1000, 'v');
    struct Case {
        std::string key;
        std::string value;
        std::string line;
    };
    const Case cases[] = {
        {"Version", "2", "Version" + std::string(17, ' ') + " = 2\r\n"},
        {key24, "a = b ; c", key24 + " = a = b ; c\r\n"},
        {key24 + "Y", "\\\\srv\\", key24 + "Y = \\\\srv\\\r\n"},
        {"Empty", "", "Empty" + std::string(19, ' ') + " = \r\n"},
        {"FileServers", sLong, "FileServers              = " + sLong + "\r\n"},
    };
    std::string expected = "[GENERAL]\r\n";
    EXPECT_TRUE(BConfigFile::WriteIniFileSection(*file, "GENERAL"));
    for (const Case& c : cases) {
        EXPECT_TRUE(BConfigFile::WriteIniFileValue(*file, c.key, c.value));
        expected += c.line;
    }
    EXPECT_TRUE(BConfigFile::WriteIniFileSection(*file, ""));
    EXPECT_TRUE(BConfigFile::WriteIniFileSection(*file, "Printer 1"));
    EXPECT_TRUE(BConfigFile::WriteIniFileValue(*file, "Version", "  other  "));
    file->Close();
    expected += "\r\n[Printer 1]\r\nVersion" + std::string(17, ' ') + " =   other  \r\n";
    EXPECT_EQ(world.files.Content(kOut), expected);
}

class FindConfigFileTest : public ::testing::Test {
protected:
    FindConfigFileTest() {
        auto& env = BCommon::Env();
        env.m_sconfigfile = "C:\\Users\\pat\\LdgrApp\\ldgrmake.ini";
        env.m_sSharedConfigFile = "\\\\srv\\ledger";
        env.m_sLocalUserPath = "C:\\Users\\pat\\LdgrApp\\";
    }

    static std::string Question(const std::string& path) {
        return "Found configuration parameters file:\r" + path +
               "\r\rThis is not a standard location for this file.\r"
               "Do you want to continue anyway using this file?";
    }

    ConfigWorld world;
    const std::string working = "C:\\Users\\pat\\LdgrApp\\ldgrmake.ini";
    const std::string recorded = "\\\\srv\\ledger\\Config.ini";
    const std::string local = "C:\\Users\\pat\\LdgrApp\\Config.ini";
};

// Which files exist (W working copy, R recorded, L local), silent or not, the answers given;
// then the result, the file chosen and the files asked about.
TEST_F(FindConfigFileTest, PlacesInOrder) {
    struct Case {
        const char* name;
        std::string present{};
        bool bSilent = false;
        std::vector<std::int32_t> answers{};
        bool found = false;
        std::string file{};
        std::vector<std::string> questions{};
    };
    const Case cases[] = {
        {.name = "working copy", .present = "WRL", .found = true, .file = working},
        {.name = "recorded", .present = "RL", .bSilent = true, .found = true, .file = recorded},
        {.name = "local asked even when silent",
         .present = "L",
         .bSilent = true,
         .answers = {6},
         .found = true,
         .file = local,
         .questions = {local}},
        {.name = "local, No by default", .present = "L", .file = working, .questions = {local}},
        {.name = "recorded refused, local taken",
         .present = "RL",
         .answers = {7, 6},
         .found = true,
         .file = local,
         .questions = {recorded, local}},
        {.name = "none", .file = working},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        world.desktop.boxes.clear();
        world.desktop.answers.assign(c.answers.begin(), c.answers.end());
        for (const auto& [letter, path] :
             {std::pair{'W', working}, {'R', recorded}, {'L', local}}) {
            world.files.Remove(path);
            if (c.present.find(letter) != std::string::npos) {
                world.files.Put(path, "[GENERAL]");
            }
        }
        std::string sFile = "unchanged?";
        EXPECT_EQ(BConfigFile::FindConfigFile(sFile, c.bSilent), c.found);
        EXPECT_EQ(sFile, c.file);
        ASSERT_EQ(world.desktop.boxes.size(), c.questions.size());
        for (std::size_t i = 0; i < c.questions.size(); ++i) {
            EXPECT_EQ(world.desktop.boxes[i].text, Question(c.questions[i]));
            EXPECT_EQ(world.desktop.boxes[i].style, 4 + 48 + 256);
            EXPECT_EQ(world.desktop.boxes[i].title, "Ledgerline");
        }
    }
}

} // namespace
