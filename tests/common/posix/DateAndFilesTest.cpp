// Date text under the hosted locales, and the file search (hosted build only).
#include "ledgerline/common/DateAndFiles.h"

#include "ledgerline/platform/Platform.h"
#include "support/posix/HostedWorld.h"

#include <ctime>
#include <gtest/gtest.h>

namespace {

using DateText = ldgr::test::HostedWorld;
using FindFile = ldgr::test::HostedWorld;

TEST_F(DateText, MonthFirstWhateverTheLocale) {
    // The locale, the text, the result and what the argument variable holds afterwards.
    const std::tuple<const char*, std::string, const char*, const char*> cases[] = {
        {"en-US", std::string("  3/1/2024 1:05:03 PM \0junk", 27), "03/01/2024 1:05:03 PM",
         "3/01/2024 1:05:03 PM"},
        {"en-US", "3/1/2024 13:05", "03/01/2024 1:05:00 PM", "3/01/2024 1:05:00 PM"},
        {"en-US", "3/1/2024", "03/01/2024 12:00:00 AM", "3/01/2024 12:00:00 AM"},
        {"en-US", "3/1/2024 12:05 AM", "03/01/2024 12:05:00 AM", "3/01/2024 12:05:00 AM"},
        // Two-digit years fall in 1930 to 2029.
        {"en-US", "3/1/30 1:05 AM", "03/01/1930 1:05:00 AM", "3/01/1930 1:05:00 AM"},
        {"en-GB", "01/03/2024 13:05:03", "03/01/2024 1:05:03 PM", "3/01/2024 1:05:03 PM"},
        {"de-DE", "01.03.2024 13:05:03", "03/01/2024 1:05:03 PM", "3.01.2024 1:05:03 PM"},
        // A hyphen is none of the separators the normaliser knows: the text stays as formatted.
        {"nl-NL", "1-3-2024 13:05:03", "3-01-2024 1:05:03 PM", "3-01-2024 1:05:03 PM"},
        // Not a date: the normaliser sees the text as it came.
        {"en-US", "2/30/2024 1:00:00 PM", "02/30/2024 1:00:00 PM", "2/30/2024 1:00:00 PM"},
        {"en-US", "3/1/2024 1:005 PM", "03/01/2024 1:005 PM", "3/1/2024 1:005 PM"},
        {"en-US", "3/1/2024 x:05 PM", "03/01/2024 x:05 PM", "3/1/2024 x:05 PM"},
        {"en-US", "3/1/2024 13:05 PM", "03/01/2024 13:05 PM", "3/1/2024 13:05 PM"},
        {"en-US", "3/1 1:05 PM", "3/1 1:05 PM", "3/1 1:05 PM"},
        {"en-US", "3/1/2024/5 1:05 PM", "03/01/2024/5 1:05 PM", "3/1/2024/5 1:05 PM"},
        {"en-US", "x/1/2024 1:05 PM", "0x/01/2024 1:05 PM", "x/1/2024 1:05 PM"},
        {"en-US", "not a date", "not a date", "not a date"}};
    for (const auto& [locale, input, result, formatted] : cases) {
        SetVariable("LDGR_LOCALE", locale);
        std::string argument = input;
        EXPECT_EQ(BCommon::GetDateText(argument), result) << locale << " " << input;
        EXPECT_EQ(argument, formatted) << locale << " " << input;
    }
}

// Without LDGR_NOW the host's clock answers, in its local time.
TEST_F(DateText, WithoutAFixedTimeTheHostsClockAnswers) {
    const std::time_t now = std::time(nullptr);
    std::tm host{};
    EXPECT_EQ(platform::Time().Now().month, localtime_r(&now, &host)->tm_mon + 1);
}

// Short dates the hosted locales lack: the year first, and the two-digit year of old systems.
class ScriptedClock final : public platform::Clock {
public:
    platform::LocaleInfo locale;
    platform::LocalTime Now() override { return {2005, 3, 1, 13, 5, 3}; }
    platform::LocaleInfo Locale() override { return locale; }
};

TEST_F(DateText, ShortDatesOfOtherSystems) {
    struct Case {
        const char* name;
        platform::LocaleInfo locale;
        const char* now;
    };
    const Case cases[] = {
        {.name = "year first",
         .locale = {.shortDatePattern = "yyyy.MM.dd",
                    .order = platform::DateOrder::YearMonthDay,
                    .dateSeparator = "."},
         .now = "2005.03.01 1:05:03 PM"},
        {.name = "two-digit year",
         .locale = {.shortDatePattern = "M/d/yy"},
         .now = "3/1/05 1:05:03 PM"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedClock clock;
        clock.locale = c.locale;
        const platform::ScopedServices services({.clock = &clock});
        std::string argument = BCommon::NowText();
        EXPECT_EQ(argument, c.now);
        EXPECT_EQ(BCommon::GetDateText(argument), "03/01/2005 1:05:03 PM");
    }
}

TEST_F(FindFile, NameAsAskedDotForFolderEmptyWhenMissing) {
    MakeHostFolders(Host("drive_c/data/sub"));
    WriteHostFile(Host("drive_c/data/Config.ini"), "x");
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\data\\Config.ini", "Config.ini"},
        {"C:\\DATA\\config.INI", "config.INI"}, // the name as asked, not as stored
        {"C:\\data\\missing.ini", ""},
        {"C:\\data\\sub", "."},
        {"C:\\data\\sub\\\\", "."},
        {"C:\\data\\sub\\\\\\", ""}, // only two backslashes are removed
        {"C:\\data\\*.ini", "*.ini"},
        {"C:\\data\\*", "."}, // the folder's own "." comes first
        {"C:\\nowhere\\*.ini", ""},
        {"", ""}};
    for (const auto& [path, found] : cases) {
        EXPECT_EQ(BCommon::FindFile(path), found) << path;
    }
}

} // namespace
