// Printer groups: both file layouts, the group entries' rules and failures, deep copies.
#include "config/model/CPrinterGroups.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ldgr::testing::kModelFile;
using ldgr::testing::ModelTest;

class PrinterGroupRead : public ModelTest {
protected:
    bool Read(std::int32_t lVersion, const std::string& text) {
        world.desktop.boxes.clear();
        groups.RemoveAll();
        return groups.ReadIniFile(lVersion, kModelFile, Open(text));
    }
    // One group section PG1 with the entry given (or none), and no categories.
    bool ReadGroupWith(const std::string& entry) {
        return Read(2, "[GENERAL]\nNumPrinterGroups = 1\n[PG1]\nPrinterGroupName = Lab\n"
                       "DisableLogging = N\nNumCategories = 0\n" +
                           entry + "\n");
    }

    CPrinterGroups groups;
};

TEST_F(PrinterGroupRead, GroupCountIsChecked) {
    const std::pair<const char*, const char*> cases[] = {
        {"32768", "48 Entry [GENERAL].NumPrinterGroups is not valid in configuration file:"},
        {"-1", "48 Entry [GENERAL].NumPrinterGroups is not valid in configuration file:"},
        {"all", "48 Entry [GENERAL].NumPrinterGroups is not numeric in configuration file:"},
        {"", "48 Entry [GENERAL].NumPrinterGroups is blank in file:"},
    };
    for (const auto& [count, box] : cases) {
        SCOPED_TRACE(count);
        EXPECT_FALSE(Read(2, std::string("[GENERAL]\nNumPrinterGroups = ") + count + "\n"));
        EXPECT_EQ(Boxes(), std::vector<std::string>{box});
        EXPECT_EQ(groups.Count(), 0);
    }
    EXPECT_TRUE(Read(2, "[GENERAL]\nNumPrinterGroups = 0\n"));
    EXPECT_EQ(groups.Count(), 0);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(PrinterGroupRead, MissingGroupSectionKeepsTheFailingGroup) {
    EXPECT_FALSE(Read(2, "[GENERAL]\nNumPrinterGroups = 2\n[PG1]\nPrinterGroupName = Lab\n"
                         "DisableLogging = F\nNumCategories = 0\n"));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [PG2].PrinterGroupName not found in file:"});
    ASSERT_EQ(groups.Count(), 2);
    EXPECT_EQ(groups.Item(1)->GroupName, "Lab");
    EXPECT_EQ(groups.Item(2)->GroupName, "!2@3#4$5%6^7&8*9(0)[-]");
}

TEST_F(PrinterGroupRead, RedirectRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "Enter IP Address Here"},
        {"Redirect = true", "Enter IP Address Here"},
        {"Redirect = False", "Enter IP Address Here"},
        {"Redirect = TRUE", "Enter IP Address Here"},
        {"Redirect = 10.1.2.3", "10.1.2.3"},
        {"Redirect = Trueish", "Trueish"},
    };
    for (const auto& [entry, redirect] : cases) {
        SCOPED_TRACE(entry);
        EXPECT_TRUE(ReadGroupWith(entry));
        EXPECT_EQ(groups.Item(1)->Redirect, redirect);
        EXPECT_TRUE(Boxes().empty());
    }
}

TEST_F(PrinterGroupRead, LooseBooleansNeverComplainExceptWhenBlank) {
    const std::pair<const char*, bool> cases[] = {
        {"yes", true}, {"1", true},      {"True", true},   {"no", false},
        {"0", false},  {"False", false}, {"maybe", false}, {"2", false},
    };
    for (const auto& [value, expected] : cases) {
        SCOPED_TRACE(value);
        EXPECT_TRUE(
            ReadGroupWith(std::string("LogSilent = ") + value + "\nPauseUntilAck = " + value));
        EXPECT_EQ(groups.Item(1)->LogSilent, expected);
        EXPECT_EQ(groups.Item(1)->PauseUntilAck, expected);
        EXPECT_TRUE(Boxes().empty());
    }
    EXPECT_TRUE(ReadGroupWith("LogSilent ="));
    EXPECT_FALSE(groups.Item(1)->LogSilent);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"48 Entry [PG1].LogSilent is blank in file:"});
}

TEST_F(PrinterGroupRead, StrictDisableLoggingStopsBeforeTheCategories) {
    const std::pair<const char*, const char*> cases[] = {
        {"maybe", "16 Entry [PG1].DisableLogging is not valid in configuration file:"},
        {"2", "16 Entry [PG1].DisableLogging is not valid in configuration file:"},
        {"", "48 Entry [PG1].DisableLogging is blank in file:"},
    };
    for (const auto& [value, box] : cases) {
        SCOPED_TRACE(value);
        // No NumCategories: reading the categories would add a message of its own.
        EXPECT_FALSE(
            Read(2, std::string("[GENERAL]\nNumPrinterGroups = 1\n[PG1]\n"
                                "PrinterGroupName = Lab\nLogSilent = Y\nDisableLogging = ") +
                        value + "\n"));
        EXPECT_EQ(Boxes(), std::vector<std::string>{box});
        EXPECT_TRUE(groups.Item(1)->LogSilent); // read before, kept
    }
}

TEST_F(PrinterGroupRead, SingleGroupLayoutBuildsTheDefaultGroup) {
    for (const std::int32_t lVersion : {1, -1}) {
        SCOPED_TRACE(lVersion);
        ASSERT_TRUE(Read(lVersion, "[GENERAL]\nNumCategories = 1\nNumPrinterGroups = 5\n"
                                   "DisableLogging = True\n[CATEGORY1]\nCategoryName = Project\n"
                                   "Verification = 0\nAckDefaultValues = N\n"
                                   "AllowBlankValues = N\nOnlyPreDefinedValues = N\n"
                                   "NumPreDefinedValues = 0\nDefaultValue = 0\n"));
        ASSERT_EQ(groups.Count(), 1);
        const auto group = groups.Item(1);
        EXPECT_EQ(group->GroupName, "Default");
        EXPECT_FALSE(group->DisableLogging);
        EXPECT_FALSE(group->LogSilent);
        EXPECT_FALSE(group->PauseUntilAck);
        EXPECT_EQ(group->Redirect, "Enter IP Address Here");
        ASSERT_EQ(group->Categories().Count(), 1);
        EXPECT_EQ(group->Categories().Item(1)->CategoryName, "Project");
    }
}

TEST_F(PrinterGroupRead, SingleGroupLayoutNeedsItsCategoryCount) {
    EXPECT_FALSE(Read(1, "[GENERAL]\nNumPrinterGroups = 0\n"));
    EXPECT_EQ(Boxes(),
              std::vector<std::string>{"48 Entry [GENERAL].NumCategories not found in file:"});
    EXPECT_EQ(groups.Count(), 1);
}

TEST_F(PrinterGroupRead, ReadingAppendsToWhatIsThere) {
    groups.NewCPrinterGroup("mine")->GroupName = "Mine";
    EXPECT_TRUE(groups.ReadIniFile(2, kModelFile,
                                   Open("[GENERAL]\nNumPrinterGroups = 1\n[PG1]\n"
                                        "PrinterGroupName = Lab\n"
                                        "DisableLogging = 0\nNumCategories = 0\n")));
    ASSERT_EQ(groups.Count(), 2);
    EXPECT_EQ(groups.Item("MINE")->GroupName, "Mine");
    EXPECT_EQ(groups.Item(2)->GroupName, "Lab");
}

TEST(PrinterGroup, EqualsCopiesCategoriesAsNewObjects) {
    CPrinterGroup source;
    source.GroupName = "Lab";
    source.Redirect = "10.0.0.1";
    source.LogSilent = true;
    const auto category = source.Categories().NewCCategory();
    category->CategoryName = "Cost";
    category->PreDefinedValues().NewCPreDefinedValue()->ComputedType = 12;
    CPrinterGroup copy;

    copy.Equals(source);

    EXPECT_TRUE(copy == source);
    EXPECT_NE(copy.Categories().Item(1), category);
    copy.Categories().Item(1)->PreDefinedValues().Item(1)->ComputedType = 13;
    EXPECT_EQ(category->PreDefinedValues().Item(1)->ComputedType, 12);
    EXPECT_FALSE(copy == source);
}

TEST(PrinterGroup, ReplacedCategoriesAreSharedAndNeverNull) {
    CPrinterGroup group;
    auto categories = std::make_shared<CCategories>();
    group.SetCategories(categories);
    categories->NewCCategory();
    EXPECT_EQ(group.Categories().Count(), 1);
    EXPECT_THROW(group.SetCategories(nullptr), ldgr::Error);
    EXPECT_EQ(&group.Categories(), categories.get());
}

} // namespace
