// Module BConfigFile: the INI line writers and the choice of the configuration file.
#include "config/BConfigFile.h"

#include "KorvaneIni/KorvaneIni.h"
#include "common/Environment.h"
#include "config/ConfigDoubles.h"

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

TEST_F(WriterTest, LinesAreWrittenInTheFileFormatAndReadBackUnchanged) {
    const std::string key24 = "ABCDEFGHIJKLMNOPQRSTUVWX";
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
        {"Quoted", "\"q\"", "Quoted" + std::string(18, ' ') + " = \"q\"\r\n"},
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

    const std::int32_t hIniFile = KorvaneIni::OpenIni(kOut);
    for (const Case& c : cases) {
        EXPECT_EQ(BConfigFile::GetPPS("GENERAL", c.key, kOut, hIniFile, true, false), c.value);
    }
    EXPECT_EQ(BConfigFile::GetPPS("printer 1", "version", kOut, hIniFile, false, false), "other");
    KorvaneIni::CloseIni(hIniFile);
    EXPECT_TRUE(world.desktop.boxes.empty());
}

TEST_F(WriterTest, FailedOrRefusedWritesAreReported) {
    world.files.failWrites = true;
    EXPECT_FALSE(BConfigFile::WriteIniFileSection(*file, "GENERAL"));
    EXPECT_FALSE(BConfigFile::WriteIniFileValue(*file, "Version", "2"));
    world.files.failWrites = false;
    // A value is written as given, however long a workstation reads it.
    const std::string sLong(BConfigFile::kLongestValue + 1000, 'v');
    EXPECT_TRUE(BConfigFile::WriteIniFileValue(*file, "FileServers", sLong));
    EXPECT_NE(world.files.Content(kOut).find("FileServers              = " + sLong + "\r\n"),
              std::string::npos);
    file->Close();
    EXPECT_FALSE(BConfigFile::WriteIniFileValue(*file, "Version", "2"));
    const char* const starts[] = {
        "Unexpected error 61 in procedure 'WriteIniFileSection':\rDisk full",
        "Unexpected error 61 in procedure 'WriteIniFileValue':",
        "Unexpected error 52 in procedure 'WriteIniFileValue':",
    };
    ASSERT_EQ(world.desktop.boxes.size(), std::size(starts));
    for (std::size_t i = 0; i < std::size(starts); ++i) {
        EXPECT_TRUE(world.desktop.boxes[i].text.starts_with(starts[i]))
            << world.desktop.boxes[i].text;
    }
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

TEST_F(FindConfigFileTest, PlacesInOrder) {
    struct Case {
        const char* what;
        bool hasWorking, hasRecorded, hasLocal, bSilent;
        std::vector<std::int32_t> answers;
        bool found;
        std::string file;
        std::vector<std::string> questions;
    };
    const Case cases[] = {
        {"working copy, no question", true, true, true, false, {}, true, working, {}},
        {"recorded, silent", false, true, true, true, {}, true, recorded, {}},
        {"recorded, asked, yes", false, true, false, false, {6}, true, recorded, {recorded}},
        {"local asked even when silent", false, false, true, true, {6}, true, local, {local}},
        {"local, no", false, false, true, true, {7}, false, working, {local}},
        {"local, default button is No", false, false, true, false, {}, false, working, {local}},
        {"no, then yes", false, true, true, false, {7, 6}, true, local, {recorded, local}},
        {"nothing anywhere", false, false, false, false, {}, false, working, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        world.desktop.boxes.clear();
        world.desktop.answers.assign(c.answers.begin(), c.answers.end());
        for (const auto& [present, path] :
             {std::pair{c.hasWorking, working}, {c.hasRecorded, recorded}, {c.hasLocal, local}}) {
            world.files.Remove(path);
            if (present) {
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

TEST_F(FindConfigFileTest, RecordedPathNamingAFileIsTakenAsAFolder) {
    BCommon::Env().m_sSharedConfigFile = "\\\\srv\\ledger\\Config.ini";
    world.files.Put("\\\\srv\\ledger\\Config.ini", "[GENERAL]");
    std::string sFile;
    EXPECT_FALSE(BConfigFile::FindConfigFile(sFile, true));
    EXPECT_EQ(sFile, working);
}

} // namespace
