// The whole configuration file: round trips of both layouts, versions, failures, defaults, copies.
#include "common/Environment.h"
#include "config/model/CConfigOptions.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>

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

// kLayout2File with the first entry of key given another value, or removed for "<absent>".
std::string WithEntry(const std::string& key, const std::string& value) {
    std::string text = kLayout2File;
    const auto line = text.find("\n" + key + " ");
    const auto end = text.find('\n', line + 1);
    const std::string replacement = value == "<absent>" ? "" : "\n" + key + " = " + value;
    return text.replace(line, end - line, replacement);
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

TEST_F(ConfigOptionsRead, EachFailureStopsWithItsMessage) {
    struct Case {
        const char* key;
        const char* value;
        const char* box; // style and first line; nullptr for none
        std::int32_t version;
        const char* dataFile; // what DataFile holds afterwards
    };
    const char* kRead = "\\\\FS1\\Ledger\\Data.mdb";
    const char* kUnsupported =
        "16 The configuration file version (3) is not supported by this version of Ledgerline.";
    const Case cases[] = {
        {"Version", "0", nullptr, 0, ""},
        {"Version", "3", kUnsupported, 3, ""},
        {"Version", "2.6", kUnsupported, 3, ""},
        {"DataFile", "<absent>", "48 Entry [GENERAL].DataFile not found in file:", 2, ""},
        {"DisableLogging", "maybe",
         "48 Entry [GENERAL].DisableLogging is not valid in configuration file:", 2, kRead},
        {"AllowCancel", "<absent>", "48 Entry [GENERAL].AllowCancel not found in file:", 2, kRead},
        {"LogSilent", "2", "48 Entry [GENERAL].LogSilent is not valid in configuration file:", 2,
         kRead},
        {"LogAllUsers", "<absent>", "48 Entry [GENERAL].LogAllUsers not found in file:", 2, kRead},
        {"NumPrinterGroups", "<absent>",
         "48 Entry [GENERAL].NumPrinterGroups not found in file:", 2, kRead},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        options.Equals(CConfigOptions());
        EXPECT_FALSE(Read(WithEntry(c.key, c.value)));
        EXPECT_EQ(Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
        EXPECT_EQ(options.Version, c.version);
        EXPECT_EQ(options.DataFile, c.dataFile);
        EXPECT_EQ(options.PrinterGroups().Count(), 0);
    }
}

TEST_F(ConfigOptionsRead, VersionMessageIsExact) {
    EXPECT_FALSE(Read(WithEntry("Version", "7")));
    ASSERT_EQ(world.desktop.boxes.size(), 1u);
    EXPECT_EQ(world.desktop.boxes[0].title, "Ledgerline");
    EXPECT_EQ(world.desktop.boxes[0].style, 16);
    EXPECT_EQ(world.desktop.boxes[0].text,
              "The configuration file version (7) is not supported by this version of "
              "Ledgerline.\r\rPlease upgrade to the lastest version of Ledgerline.");
}

TEST_F(ConfigOptionsRead, NegativeVersionReadsTheSingleGroupLayout) {
    EXPECT_FALSE(Read(WithEntry("Version", "-1")));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [GENERAL].NumCategories not found in file:"});
    EXPECT_EQ(options.PrinterGroups().Item(1)->GroupName, "Default");
}

TEST_F(ConfigOptionsRead, OptionalEntriesTakeTheirDefaults) {
    struct Case {
        const char* key;
        const char* value;
        std::string GeneralOptionFields::*field;
        const char* expected;
    };
    const Case cases[] = {
        {"LoggingMachine", "", &GeneralOptionFields::LoggingMachine, "Default"},
        {"LoggingMachine", "<absent>", &GeneralOptionFields::LoggingMachine, "Default"},
        {"DataFile", "", &GeneralOptionFields::DataFile, ""},
        {"AutoUpdateLocation", "<absent>", &GeneralOptionFields::AutoUpdateLocation,
         "\\\\FS9\\Config\\"},
        {"DataPath", "<absent>", &GeneralOptionFields::DataPath, "\\\\FS9\\Config\\"},
        {"DataPath", "", &GeneralOptionFields::DataPath, ""},
        {"FileServers", "<absent>", &GeneralOptionFields::FileServers, "WS042"},
        {"UserTimeFrame", "<absent>", &GeneralOptionFields::UserTimeFrame, "Unlimited"},
        {"UserAction", "  Warn twice  ", &GeneralOptionFields::UserAction, "Warn twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EXPECT_TRUE(Read(WithEntry(c.key, c.value)));
        EXPECT_TRUE(Boxes().empty());
        EXPECT_EQ(options.*c.field, c.expected);
    }
}

TEST_F(ConfigOptionsRead, LooseBooleansKeepTheirValueWhenAbsent) {
    options.SetRaw = true;
    options.SIMMonitor = true;
    options.DisplaytoUserOnly = false;
    ASSERT_TRUE(Read(WithEntry("SetRaw", "<absent>")));
    EXPECT_TRUE(options.SetRaw);
    EXPECT_TRUE(options.SIMMonitor);

    ASSERT_TRUE(Read(WithEntry("DisplayToUserOnly", "<absent>")));
    EXPECT_TRUE(options.DisplaytoUserOnly); // the one loose Boolean with a default

    options.SetEmf = false;
    ASSERT_TRUE(Read(WithEntry("SetEmf", "")));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"48 Entry [GENERAL].SetEmf is blank in file:"});
    EXPECT_FALSE(options.SetEmf);

    ASSERT_TRUE(Read(WithEntry("SetEmf", "maybe")));
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(options.SetEmf);
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
    EXPECT_EQ(copy.Redirect, "10.9.9.9");
    EXPECT_TRUE(copy.SIMMonitor);
    const auto copiedCategory = copy.PrinterGroups().Item(1)->Categories().Item(1);
    copiedCategory->PreDefinedValues().Item(2)->ConstantText = "Changed";
    EXPECT_EQ(category.PreDefinedValues().Item(2)->ConstantText, "Project X");
    EXPECT_FALSE(copy == options);
    copy.PrinterGroups().Item(2)->GroupName = "Changed";
    EXPECT_EQ(options.PrinterGroups().Item(2)->GroupName, "Front Desk");
}

} // namespace
