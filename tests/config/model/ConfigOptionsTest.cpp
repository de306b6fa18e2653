// The whole configuration file: round trips, each entry's failure and default, failed writes.
#include "config/ConfigDoubles.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/config/model/CConfigOptions.h"
#include "support/FaultyFiles.h"

#include <gtest/gtest.h>
#include <sstream>
#include <utility>

namespace {

constexpr const char* kModelFile = "C:\\Ledgerline\\Config.ini";
constexpr const char* kWrittenFile = "C:\\Ledgerline\\Written.ini";

// A file in layout 2 as the writers produce it (LF line ends), each section's entries
// "Key=Value" parted by '|': group PG1 with one category of two values, PG2 with none.
const std::pair<const char*, const char*> kLayout2Sections[] = {
    {"GENERAL", "Version=2|DataFile=\\\\FS1\\Ledger\\Data.mdb|DisableLogging=False|"
                "DebugLog=True|AllowCancel=True|LogSilent=False|LogAllUsers=True|"
                "LoggingMachine=PRINTSRV|FileServers=FS1,FS2|"
                "AutoUpdateLocation=\\\\FS1\\Ledger\\|DataPath=\\\\FS1\\Ledger\\Data\\|"
                "DisplayAfter=3|UserTimeFrame=Monthly|UserLimit=250|UserFromTime=Now|"
                "UserAction=Warn|UserUntilTime=Forever|UserPrintUnits=Pages|PauseUntilAck=False|"
                "Convert11x17=True|SavePrintData=False|ObtainPath=True|DisplayImmediately=False|"
                "DisplayToUserOnly=True|AutoUpdate=False|SetEmf=True|SetRaw=False|"
                "DeleteIfCanceled=True|LogDatFilesOnly=False|NumPrinterGroups=2"},
    {"PG1", "PrinterGroupName=Accounting|DisableLogging=False|LogSilent=True|"
            "PauseUntilAck=False|Redirect=10.0.0.7|NumCategories=1"},
    {"PG1CATEGORY1",
     "CategoryName=Cost|Verification=1|AckDefaultValues=True|AllowBlankValues=False|"
     "OnlyPreDefinedValues=True|MaskUserInput=False|Pattern=Any|"
     "NumPreDefinedValues=2|PreDefinedValue1=12|PreDefinedValue2=0, Project X|"
     "DefaultValue=2"},
    {"PG2", "PrinterGroupName=Front Desk|DisableLogging=True|LogSilent=False|"
            "PauseUntilAck=True|Redirect=Enter IP Address Here|NumCategories=0"},
};

// An entry line as the writers produce it.
std::string Line(const std::string& key, const std::string& value) {
    return key + std::string(key.size() < 24 ? 24 - key.size() : 0, ' ') + " = " + value;
}

std::string Layout2File() {
    std::string text;
    for (const auto& [section, entries] : kLayout2Sections) {
        text += (text.empty() ? "[" : "\n[") + std::string(section) + "]\n";
        std::istringstream parts(entries);
        for (std::string entry; std::getline(parts, entry, '|');) {
            const auto equals = entry.find('=');
            text += Line(entry.substr(0, equals), entry.substr(equals + 1)) + "\n";
        }
    }
    return text;
}
const std::string kLayout2File = Layout2File();

// kLayout2File with entry key of the section given another value, or removed for "<absent>".
std::string Edited(const std::string& section, const std::string& key, const std::string& value) {
    std::string text = kLayout2File;
    const auto line = text.find("\n" + key + " ", text.find("[" + section + "]"));
    const auto end = text.find('\n', line + 1);
    return text.replace(line, end - line, value == "<absent>" ? "" : "\n" + key + " = " + value);
}

// A configuration file in memory, read into options; the boxes shown.
class ConfigOptionsRead : public ::testing::Test {
protected:
    ConfigOptionsRead() {
        BCommon::Env().m_sConfigPath = "\\\\FS9\\Config\\";
        BCommon::Env().m_sMachineName = "WS042";
    }
    bool Read(const std::string& text) {
        world.desktop.boxes.clear();
        world.files.Put(kModelFile, text);
        return options.ReadIniFile(kModelFile);
    }
    // Each box shown so far as its style and the first line of its text ("48 Entry [..]..").
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const ldgr::test::ShownBox& box : world.desktop.boxes) {
            boxes.push_back(std::to_string(box.style) + " " +
                            box.text.substr(0, box.text.find('\r')));
        }
        return boxes;
    }
    std::string Written() const {
        std::string text = world.files.Content(kWrittenFile);
        std::erase(text, '\r');
        return text;
    }
    // The entry lines of one section of the file written, each after a line end.
    std::string WrittenSection(const std::string& section) const {
        const std::string text = Written();
        const auto start = text.find("[" + section + "]") + section.size() + 2;
        return text.substr(start, text.find("\n[", start) - start);
    }

    ldgr::test::ConfigWorld world;
    CConfigOptions options;
};

// Written back byte for byte and copied whole; reading again appends the groups read.
TEST_F(ConfigOptionsRead, Layout2RoundTripIsExact) {
    ASSERT_TRUE(Read(kLayout2File));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(options.LogAllMachines);
    EXPECT_TRUE(options.PrinterGroups().Item(1)->Categories().Item(1)->DisplayRequired(true));
    ASSERT_TRUE(options.WriteIniFile(kWrittenFile));
    EXPECT_EQ(Written(), kLayout2File);
    CConfigOptions copy;
    copy.Equals(options);
    EXPECT_TRUE(copy == options);
    ASSERT_TRUE(Read(kLayout2File));
    EXPECT_EQ(options.PrinterGroups().Count(), 4);
    EXPECT_FALSE(copy == options);
}

// A file of the older layout is one group whose options are the defaults, whatever its GENERAL
// section says.
TEST_F(ConfigOptionsRead, SingleGroupFileIsOneGroupOfDefaults) {
    ASSERT_TRUE(Read("[GENERAL]\nVersion = 1\nDataFile = D.mdb\nDisableLogging = Y\n"
                     "AllowCancel = N\nLogSilent = Y\nLogAllUsers = N\nNumCategories = 1\n"
                     "NumPrinterGroups = 5\nPauseUntilAck = Y\nRedirect = 10.0.0.1\n"
                     "[CATEGORY1]\nCategoryName = Project\nVerification = 1\n"
                     "AckDefaultValues = N\nAllowBlankValues = Y\nOnlyPreDefinedValues = N\n"
                     "NumPreDefinedValues = 1\nPreDefinedValue1 = 0,Overhead\nDefaultValue = 1\n"));
    ASSERT_EQ(options.PrinterGroups().Count(), 1);
    const CPrinterGroup& group = *options.PrinterGroups().Item(1);
    EXPECT_EQ(group.GroupName, "Default");
    EXPECT_FALSE(group.DisableLogging || group.LogSilent || group.PauseUntilAck);
    EXPECT_EQ(group.Redirect, CPrinterGroup::kNoRedirection);
    EXPECT_EQ(group.Categories().Item(1)->CategoryName, "Project");
}

// Every section's entries: the first failure stops the read with its message and icon.
TEST_F(ConfigOptionsRead, EachFailureStopsWithItsMessage) {
    const char* const missing = "not found in";
    const char* const blank = "is blank in";
    const char* const notValid = "is not valid in configuration";
    const char* const notNumeric = "is not numeric in configuration";
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        int style;
        const char* what;
    };
    const Case cases[] = {
        {"GENERAL", "DataFile", "<absent>", 48, missing},
        {"GENERAL", "NumPrinterGroups", "<absent>", 48, missing},
        {"GENERAL", "NumPrinterGroups", "32768", 48, notValid},
        {"GENERAL", "NumPrinterGroups", "-1", 48, notValid},
        {"PG1", "PrinterGroupName", "<absent>", 48, missing},
        {"PG1", "DisableLogging", "maybe", 16, notValid},
        {"PG1", "DisableLogging", "", 48, blank},
        {"PG1CATEGORY1", "CategoryName", "<absent>", 48, missing},
        {"PG1CATEGORY1", "Verification", "3", 48, notValid},
        {"PG1CATEGORY1", "AckDefaultValues", "maybe", 16, notValid},
        {"PG1CATEGORY1", "AllowBlankValues", "maybe", 48, notValid},
        {"PG1CATEGORY1", "DefaultValue", "3", 16, notValid},
        {"PG1CATEGORY1", "DefaultValue", "first", 16, notNumeric},
        {"PG1CATEGORY1", "PreDefinedValue2", "", 48, blank},
        {"PG1CATEGORY1", "PreDefinedValue2", "18", 48, notValid}, // a gap in the codes
        {"PG1CATEGORY1", "PreDefinedValue2", "32768", 48, notValid},
        {"PG1CATEGORY1", "PreDefinedValue2", "0 ,x", 48, notNumeric},
    };
    for (const Case& c : cases) {
        const std::string entry = std::string("[") + c.section + "]." + c.key;
        SCOPED_TRACE(entry + "=" + c.value);
        EXPECT_FALSE(Read(Edited(c.section, c.key, c.value)));
        EXPECT_EQ(Boxes(), std::vector{std::to_string(c.style) + " Entry " + entry + " " + c.what +
                                       " file:"});
    }
}

// The version decides the layout; a failing group stays in its collection with what it read.
TEST_F(ConfigOptionsRead, VersionsAndFailingGroups) {
    EXPECT_FALSE(Read(Edited("GENERAL", "Version", "-1")));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [GENERAL].NumCategories not found in file:"});
    EXPECT_EQ(options.PrinterGroups().Item(1)->GroupName, "Default");
    EXPECT_FALSE(Read(Edited("GENERAL", "Version", "2.6")));
    EXPECT_EQ(world.desktop.boxes[0].text,
              "The configuration file version (3) is not supported by this version of "
              "Ledgerline.\r\rPlease upgrade to the lastest version of Ledgerline.");
    options.Equals(CConfigOptions());
    EXPECT_FALSE(Read(Edited("GENERAL", "NumPrinterGroups", "3")));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [PG3].PrinterGroupName not found in file:"});
    EXPECT_EQ(options.PrinterGroups().Item(3)->GroupName, "!2@3#4$5%6^7&8*9(0)[-]");
}

// What an accepted entry reads as, seen in the file written from it.
TEST_F(ConfigOptionsRead, AcceptedEntriesAndTheirDefaults) {
    struct Case {
        const char* section;
        const char* key;
        const char* value;
        const char* written;
        const char* box = nullptr; // style and first line
    };
    const char* const none = "Enter IP Address Here";
    const Case cases[] = {
        {"GENERAL", "LoggingMachine", "<absent>", "Default"},
        {"GENERAL", "DataFile", "", ""},
        {"GENERAL", "DataPath", "<absent>", "\\\\FS9\\Config\\"},
        {"GENERAL", "DataPath", "", ""},
        {"GENERAL", "UserTimeFrame", "<absent>", "Unlimited"},
        {"GENERAL", "DisplayToUserOnly", "<absent>", "True"}, // the one loose Boolean default
        {"GENERAL", "SetEmf", "", "False", "48 Entry [GENERAL].SetEmf is blank in file:"},
        {"PG1", "Redirect", "<absent>", none},
        {"PG1", "Redirect", "true", none},
        {"PG1", "Redirect", "Trueish", "Trueish"},
        {"PG1", "LogSilent", "", "False", "48 Entry [PG1].LogSilent is blank in file:"},
        {"PG1", "LogSilent", "<absent>", "False"},
        {"PG1", "PauseUntilAck", "yes", "True"},
        {"PG2", "PauseUntilAck", "<absent>", "False"},
        {"PG1CATEGORY1", "Verification", "2", "2"},
        {"PG1CATEGORY1", "DefaultValue", "0", "0"},
        {"PG1CATEGORY1", "MaskUserInput", "<absent>", "False"},
        {"PG1CATEGORY1", "Pattern", "", "Any"},
        {"PG1CATEGORY1", "PreDefinedValue2", "0,   padded text   ", "0, padded text"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "." + c.key + "=" + c.value);
        EXPECT_TRUE(Read(Edited(c.section, c.key, c.value)));
        EXPECT_EQ(Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        ASSERT_TRUE(options.WriteIniFile(kWrittenFile));
        EXPECT_NE(WrittenSection(c.section).find("\n" + Line(c.key, c.written) + "\n"),
                  std::string::npos);
        options.Equals(CConfigOptions());
    }
}

// A failed write or flush shows one message naming its procedure and leaves the file as it was.
TEST_F(ConfigOptionsRead, FailedWritesShowOneMessageAndLeaveTheFileAsItWas) {
    using ldgr::test::FileCall;
    struct Case {
        FileCall call;
        int nth;
        const char* where; // the procedure named, which also names the case
    };
    const Case cases[] = {
        {.call = FileCall::Write, .nth = 1, .where = "WriteIniFileSection"},
        {.call = FileCall::Write, .nth = 3, .where = "WriteIniFileValue"},
        {.call = FileCall::Flush, .nth = 1, .where = "CConfigOptions::WriteIniFile"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        world.files.Put(kWrittenFile, "old");
        world.desktop.boxes.clear();
        ldgr::test::FaultyFiles files(world.files);
        files.Fail(c.call, c.nth, ldgr::kDiskFull);
        const platform::ScopedServices services({.files = &files});
        EXPECT_FALSE(options.WriteIniFile(kWrittenFile));
        EXPECT_EQ(Boxes(), std::vector<std::string>{"48 Unexpected error 61 in procedure '" +
                                                    std::string(c.where) + "':"});
        EXPECT_EQ(world.files.Content(kWrittenFile), "old");
    }
}

} // namespace
