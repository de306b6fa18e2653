// Printer groups: the group count, the group entries' rules and failures, replaced categories.
#include "config/model/CPrinterGroups.h"
#include "config/model/ModelTestSupport.h"

#include <gtest/gtest.h>

namespace {

using ldgr::test::kModelFile;
using ldgr::test::ModelTest;

class PrinterGroupRead : public ModelTest {
protected:
    bool Read(std::int32_t lVersion, const std::string& text) {
        world.desktop.boxes.clear();
        groups.RemoveAll();
        return groups.ReadIniFile(lVersion, kModelFile, Open(text));
    }
    // One group section PG1 with the entries given, and no categories.
    bool ReadGroupWith(const std::string& entries) {
        return Read(2, "[GENERAL]\nNumPrinterGroups = 1\n[PG1]\nPrinterGroupName = Lab\n"
                       "DisableLogging = N\nNumCategories = 0\n" +
                           entries + "\n");
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

TEST_F(PrinterGroupRead, OptionalEntries) {
    struct Case {
        const char* entries;
        const char* redirect;
        bool loose; // LogSilent and PauseUntilAck
        const char* box;
    };
    const char* none = "Enter IP Address Here";
    const Case cases[] = {
        {"", none, false, nullptr},
        {"Redirect = true", none, false, nullptr},
        {"Redirect = FALSE", none, false, nullptr},
        {"Redirect = 10.1.2.3", "10.1.2.3", false, nullptr},
        {"Redirect = Trueish", "Trueish", false, nullptr},
        {"LogSilent = yes\nPauseUntilAck = yes", none, true, nullptr},
        {"LogSilent = maybe\nPauseUntilAck = maybe", none, false, nullptr},
        {"LogSilent =", none, false, "48 Entry [PG1].LogSilent is blank in file:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entries);
        EXPECT_TRUE(ReadGroupWith(c.entries));
        EXPECT_EQ(groups.Item(1)->Redirect, c.redirect);
        EXPECT_EQ(groups.Item(1)->LogSilent, c.loose);
        EXPECT_EQ(groups.Item(1)->PauseUntilAck, c.loose);
        EXPECT_EQ(Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{});
    }
}

TEST_F(PrinterGroupRead, StrictDisableLoggingStopsBeforeTheCategories) {
    const std::pair<const char*, const char*> cases[] = {
        {"maybe", "16 Entry [PG1].DisableLogging is not valid in configuration file:"},
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
