// The whole configuration file: round trips of both layouts, each entry's failure and default,
// versions, failed writes, copies.
#include "common/Environment.h"
#include "config/model/CConfigOptions.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>
#include <utility>

namespace {

using ldgr::test::kModelFile;
using ldgr::test::kWrittenFile;
using ldgr::test::ModelTest;

// A file in layout 2 exactly as the writers produce it (LF line ends): general options, group
// PG1 with one category of two values, group PG2 without categories.
const char* const kLayout2File = R"([GENERAL]
Version                  = 2
DataFile                 = \\FS1\Ledger\Data.mdb
DisableLogging           = False
DebugLog                 = True
AllowCancel              = True
LogSilent                = False
LogAllUsers              = True
LoggingMachine           = PRINTSRV
FileServers              = FS1,FS2
AutoUpdateLocation       = \\FS1\Ledger\
DataPath                 = \\FS1\Ledger\Data\
DisplayAfter             = 3
UserTimeFrame            = Monthly
UserLimit                = 250
UserFromTime             = Now
UserAction               = Warn
UserUntilTime            = Forever
UserPrintUnits           = Pages
PauseUntilAck            = False
Convert11x17             = True
SavePrintData            = False
ObtainPath               = True
DisplayImmediately       = False
DisplayToUserOnly        = True
AutoUpdate               = False
SetEmf                   = True
SetRaw                   = False
DeleteIfCanceled         = True
LogDatFilesOnly          = False
NumPrinterGroups         = 2

[PG1]
PrinterGroupName         = Accounting
DisableLogging           = False
LogSilent                = True
PauseUntilAck            = False
Redirect                 = 10.0.0.7
NumCategories            = 1

[PG1CATEGORY1]
CategoryName             = Cost
Verification             = 1
AckDefaultValues         = True
AllowBlankValues         = False
OnlyPreDefinedValues     = True
MaskUserInput            = False
Pattern                  = Any
NumPreDefinedValues      = 2
PreDefinedValue1         = 12
PreDefinedValue2         = 0, Project X
DefaultValue             = 2

[PG2]
PrinterGroupName         = Front Desk
DisableLogging           = True
LogSilent                = False
PauseUntilAck            = True
Redirect                 = Enter IP Address Here
NumCategories            = 0
)";

// kLayout2File with entry key of the section given another value, or removed for "<absent>".
std::string Edited(const std::string& section, const std::string& key, const std::string& value) {
    std::string text = kLayout2File;
    const auto line = text.find("\n" + key + " ", text.find("[" + section + "]"));
    const auto end = text.find('\n', line + 1);
    return text.replace(line, end - line, value == "<absent>" ? "" : "\n" + key + " = " + value);
}

// An entry line as the writers produce it.
std::string Line(const std::string& key, const std::string& value) {
    return key + std::string(key.size() < 24 ? 24 - key.size() : 0, ' ') + " = " + value;
}

class ConfigOptionsRead : public ModelTest {
protected:
    ConfigOptionsRead() {
        BCommon::Env().m_sConfigPath = "\\\\FS9\\Config\\";
        BCommon::Env().m_sMachineName = "WS042";
    }
    bool Read(const std::string& text) {
        world.desktop.boxes.clear();
        Put(text);
        return options.ReadIniFile(kModelFile);
    }
    // Reads back what was written, as a new tree.
    void Reread(CConfigOptions& reread) {
        world.files.Put(kModelFile, world.files.Content(kWrittenFile));
        ASSERT_TRUE(reread.ReadIniFile(kModelFile));
    }

    CConfigOptions options;
};

TEST_F(ConfigOptionsRead, Layout2RoundTripIsExact) {
    ASSERT_TRUE(Read(kLayout2File));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(options.DataFile, "\\\\FS1\\Ledger\\Data.mdb");
    EXPECT_TRUE(options.LogAllMachines);
    EXPECT_EQ(options.PrinterGroups().Count(), 2);
    EXPECT_EQ(options.PrinterGroups().Item(1)->Redirect, "10.0.0.7");
    EXPECT_TRUE(options.PrinterGroups().Item(1)->Categories().Item(1)->DisplayRequired(true));

    ASSERT_TRUE(options.WriteIniFile(kWrittenFile));
    EXPECT_EQ(Written(), kLayout2File);
}

// Layout 1 keeps its categories under GENERAL as one group; the general options, Redirect and
// NumPrinterGroups there are not the group's.
TEST_F(ConfigOptionsRead, SingleGroupFileIsWrittenInLayout2) {
    ASSERT_TRUE(Read("[GENERAL]\nVersion = 1\nDataFile = D.mdb\nDisableLogging = Y\n"
                     "AllowCancel = N\nLogSilent = Y\nLogAllUsers = N\nNumCategories = 2\n"
                     "NumPrinterGroups = 5\nPauseUntilAck = Y\nRedirect = 10.0.0.1\n"
                     "[CATEGORY1]\nCategoryName = Project\nVerification = 1\n"
                     "AckDefaultValues = N\nAllowBlankValues = Y\nOnlyPreDefinedValues = N\n"
                     "NumPreDefinedValues = 1\nPreDefinedValue1 = 0,Overhead\nDefaultValue = 1\n"
                     "[CATEGORY2]\nCategoryName = Cost\nVerification = 0\nAckDefaultValues = N\n"
                     "AllowBlankValues = N\nOnlyPreDefinedValues = N\nNumPreDefinedValues = 0\n"
                     "DefaultValue = 0\n"));
    EXPECT_EQ(options.Version, 1);
    // SIMMonitor and the general Redirect are never written.
    options.SIMMonitor = true;
    options.Redirect = "10.9.9.9";
    ASSERT_TRUE(options.WriteIniFile(kWrittenFile));
    const std::string written = Written();
    EXPECT_TRUE(written.starts_with("[GENERAL]\nVersion                  = 2\n"));
    EXPECT_NE(written.find("\nNumPrinterGroups         = 1\n\n[PG1]\n"
                           "PrinterGroupName         = Default\n"
                           "DisableLogging           = False\n"
                           "LogSilent                = False\n"
                           "PauseUntilAck            = False\n"
                           "Redirect                 = Enter IP Address Here\n"
                           "NumCategories            = 2\n\n[PG1CATEGORY1]\n"),
              std::string::npos)
        << written;
    EXPECT_NE(written.find("PreDefinedValue1         = 0, Overhead\n"), std::string::npos);
    EXPECT_NE(written.find("\n\n[PG1CATEGORY2]\nCategoryName             = Cost\n"),
              std::string::npos);
    EXPECT_EQ(written.find("[CATEGORY1]"), std::string::npos);
    EXPECT_EQ(written.find("SIMMonitor"), std::string::npos);
    EXPECT_EQ(written.find("10.9.9.9"), std::string::npos);

    // The converted file reads back as the same tree, now with version 2.
    CConfigOptions reread;
    Reread(reread);
    options.Version = 2;
    options.SIMMonitor = false;
    options.Redirect = "";
    EXPECT_TRUE(reread == options);
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
        {"GENERAL", "DisableLogging", "maybe", 48, notValid},
        {"GENERAL", "AllowCancel", "<absent>", 48, missing},
        {"GENERAL", "NumPrinterGroups", "<absent>", 48, missing},
        {"GENERAL", "NumPrinterGroups", "32768", 48, notValid},
        {"GENERAL", "NumPrinterGroups", "-1", 48, notValid},
        {"PG1", "PrinterGroupName", "<absent>", 48, missing},
        {"PG1", "DisableLogging", "maybe", 16, notValid},
        {"PG1", "DisableLogging", "", 48, blank},
        {"PG1CATEGORY1", "CategoryName", "<absent>", 48, missing},
        {"PG1CATEGORY1", "Verification", "3", 48, notValid},
        {"PG1CATEGORY1", "AckDefaultValues", "maybe", 16, notValid},
        {"PG1CATEGORY1", "AckDefaultValues", "<absent>", 48, missing},
        {"PG1CATEGORY1", "AllowBlankValues", "maybe", 48, notValid},
        {"PG1CATEGORY1", "DefaultValue", "3", 16, notValid},
        {"PG1CATEGORY1", "DefaultValue", "first", 16, notNumeric},
        {"PG1CATEGORY1", "DefaultValue", "", 48, blank},
        {"PG1CATEGORY1", "PreDefinedValue2", "", 48, blank},
        {"PG1CATEGORY1", "PreDefinedValue2", "18", 48, notValid}, // a gap in the codes
        {"PG1CATEGORY1", "PreDefinedValue2", "32768", 48, notValid},
        {"PG1CATEGORY1", "PreDefinedValue2", "Project X", 48, notNumeric},
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

TEST_F(ConfigOptionsRead, VersionDecidesTheLayout) {
    const std::pair<const char*, const char*> cases[] = {
        {"0", nullptr},
        {"3", "16 The configuration file version (3) is not supported by this version of "
              "Ledgerline."},
        {"2.6", "16 The configuration file version (3) is not supported by this version of "
                "Ledgerline."},
        {"-1", "48 Entry [GENERAL].NumCategories not found in file:"},
    };
    for (const auto& [version, box] : cases) {
        SCOPED_TRACE(version);
        EXPECT_FALSE(Read(Edited("GENERAL", "Version", version)));
        EXPECT_EQ(Boxes(), box ? std::vector<std::string>{box} : std::vector<std::string>{});
    }
    EXPECT_EQ(options.PrinterGroups().Item(1)->GroupName, "Default");
    EXPECT_FALSE(Read(Edited("GENERAL", "Version", "7")));
    EXPECT_EQ(world.desktop.boxes[0].title, "Ledgerline");
    EXPECT_EQ(world.desktop.boxes[0].text,
              "The configuration file version (7) is not supported by this version of "
              "Ledgerline.\r\rPlease upgrade to the lastest version of Ledgerline.");
}

// A failing item stays in its collection, with what it read before the failure.
TEST_F(ConfigOptionsRead, FailingItemsStay) {
    EXPECT_FALSE(Read(Edited("GENERAL", "NumPrinterGroups", "3")));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [PG3].PrinterGroupName not found in file:"});
    EXPECT_EQ(options.PrinterGroups().Item(3)->GroupName, "!2@3#4$5%6^7&8*9(0)[-]");

    options.Equals(CConfigOptions());
    EXPECT_FALSE(Read(Edited("PG1CATEGORY1", "DefaultValue", "9")));
    const auto category = options.PrinterGroups().Item(1)->Categories().Item(1);
    EXPECT_EQ(options.PrinterGroups().Item(1)->Categories().Count(), 1);
    EXPECT_EQ(category->PreDefinedValues().Count(), 2);
    EXPECT_EQ(category->DefaultValue, 0);
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
        {"GENERAL", "LoggingMachine", "", "Default"},
        {"GENERAL", "LoggingMachine", "<absent>", "Default"},
        {"GENERAL", "DataFile", "", ""},
        {"GENERAL", "DataPath", "<absent>", "\\\\FS9\\Config\\"},
        {"GENERAL", "DataPath", "", ""},
        {"GENERAL", "FileServers", "<absent>", "WS042"},
        {"GENERAL", "UserTimeFrame", "<absent>", "Unlimited"},
        {"GENERAL", "UserAction", "  Warn twice  ", "Warn twice"},
        {"GENERAL", "DisplayToUserOnly", "<absent>", "True"}, // the one loose Boolean default
        {"GENERAL", "SetEmf", "maybe", "False"},
        {"GENERAL", "SetEmf", "", "False", "48 Entry [GENERAL].SetEmf is blank in file:"},
        {"PG1", "Redirect", "<absent>", none},
        {"PG1", "Redirect", "true", none},
        {"PG1", "Redirect", "FALSE", none},
        {"PG1", "Redirect", "Trueish", "Trueish"},
        {"PG1", "LogSilent", "maybe", "False"},
        {"PG1", "LogSilent", "", "False", "48 Entry [PG1].LogSilent is blank in file:"},
        {"PG1", "PauseUntilAck", "yes", "True"},
        {"PG1CATEGORY1", "Verification", "0", "0"},
        {"PG1CATEGORY1", "Verification", "2", "2"},
        {"PG1CATEGORY1", "DefaultValue", "0", "0"},
        {"PG1CATEGORY1", "MaskUserInput", "<absent>", "False"},
        {"PG1CATEGORY1", "MaskUserInput", "yes", "True"},
        {"PG1CATEGORY1", "Pattern", "<absent>", "Any"},
        {"PG1CATEGORY1", "Pattern", "", "Any"},
        {"PG1CATEGORY1", "Pattern", "###-##", "###-##"},
        {"PG1CATEGORY1", "PreDefinedValue2", "0,   padded text   ", "0, padded text"},
        {"PG1CATEGORY1", "PreDefinedValue2", "0,", "0, "},
        {"PG1CATEGORY1", "PreDefinedValue2", "1e1", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "." + c.key + "=" + c.value);
        EXPECT_TRUE(Read(Edited(c.section, c.key, c.value)));
        EXPECT_EQ(Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        ASSERT_TRUE(options.WriteIniFile(kWrittenFile));
        EXPECT_NE(Written().find("\n" + Line(c.key, c.written) + "\n"), std::string::npos);
        options.Equals(CConfigOptions());
    }
}

TEST_F(ConfigOptionsRead, LooseBooleansKeepTheirValueWhenAbsent) {
    options.SetRaw = true;
    options.SIMMonitor = true;
    options.SetEmf = false;
    ASSERT_TRUE(Read(Edited("GENERAL", "SetRaw", "<absent>")));
    EXPECT_TRUE(options.SetRaw);
    EXPECT_TRUE(options.SIMMonitor);
    ASSERT_TRUE(Read(Edited("GENERAL", "SetEmf", "")));
    EXPECT_TRUE(options.SetEmf);
}

TEST_F(ConfigOptionsRead, ReadingAgainAppendsTheGroups) {
    ASSERT_TRUE(Read(kLayout2File));
    ASSERT_TRUE(Read(kLayout2File));
    EXPECT_EQ(options.PrinterGroups().Count(), 4);
}

TEST_F(ConfigOptionsRead, FailedWritesShowOneMessage) {
    world.files.failWrites = true;
    EXPECT_FALSE(options.WriteIniFile(kWrittenFile)); // stops at the first line
    world.files.failCreates = true;
    EXPECT_FALSE(options.WriteIniFile(kWrittenFile));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "48 Unexpected error 61 in procedure 'WriteIniFileSection':",
                           "48 Unexpected error 70 in procedure 'CConfigOptions::WriteIniFile':"}));
}

TEST_F(ConfigOptionsRead, EqualsMakesAnIndependentDeepCopy) {
    ASSERT_TRUE(Read(kLayout2File));
    options.Redirect = "10.9.9.9";
    options.SIMMonitor = true;
    CCategory& category = *options.PrinterGroups().Item(1)->Categories().Item(1);
    category.AllowBlankValues = true;
    category.MaskUserInput = true;
    CConfigOptions copy;
    CPrinterGroups& ownGroups = copy.PrinterGroups();

    copy.Equals(options);

    EXPECT_TRUE(copy == options);
    EXPECT_EQ(&copy.PrinterGroups(), &ownGroups);
    const auto copiedCategory = copy.PrinterGroups().Item(1)->Categories().Item(1);
    copiedCategory->PreDefinedValues().Item(2)->ConstantText = "Changed";
    EXPECT_EQ(category.PreDefinedValues().Item(2)->ConstantText, "Project X");
    EXPECT_FALSE(copy == options);
    copy.PrinterGroups().Item(2)->GroupName = "Changed";
    EXPECT_EQ(options.PrinterGroups().Item(2)->GroupName, "Front Desk");
}

} // namespace
