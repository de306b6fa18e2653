// Predefined values: the computed-value codes, their names and classes.
#include "ledgerline/config/model/CPreDefinedValues.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <string_view>

namespace {

// The codes a configuration file may name and their texts, by class; any other code is none.
constexpr std::string_view kSystemCodes =
    "10 Printer Name|11 Machine Name|12 User Name|13 Document Name|14 Submitted Date/Time|"
    "15 Queue Name|16 Driver Name|17 Printer Group|20 Job Size (bytes)|"
    "21 Number of Pages Per Copy|22 Number of Separator Pages|23 DataBase Record ID|"
    "24 Number of Copies|31 Paper Name|32 Paper Width (in)|33 Paper Height (in)|38 Media Type|"
    "39 Orientation|40 Job Summary|41 Path and Filename|42 Color-Monochrome|43 RESERVED";
constexpr std::string_view kCalculatedCodes =
    "1 None|2 Last Used|25 Total Pages|34 Paper Area Per Sheet (sq ft)|35 Paper Size (## x ##)|"
    "36 Paper Name and Size|37 Total Paper Area (sq ft)|81 Document Directory Level 1|"
    "82 Document Directory Level 2|83 Document Directory Level 3|84 Document Directory Level 4|"
    "85 Document Directory Level 5|86 Document Directory Level 6|87 Document Directory Level 7|"
    "88 Document Directory Level 8|89 Auto Directory Level Including Filename|"
    "90 Auto Directory Level";

// Code to name and whether it is calculated.
std::map<int, std::pair<std::string, bool>> CodeTable() {
    std::map<int, std::pair<std::string, bool>> table;
    for (const bool calculated : {false, true}) {
        std::istringstream rows(std::string(calculated ? kCalculatedCodes : kSystemCodes));
        for (std::string row; std::getline(rows, row, '|');) {
            table[std::stoi(row)] = {row.substr(row.find(' ') + 1), calculated};
        }
    }
    return table;
}

// Every code's name and class; a constant's stale code makes it no computed value.
TEST(PreDefinedValue, EveryCodeHasItsNameAndOneClass) {
    const auto table = CodeTable();
    for (int code = -1; code <= 100; ++code) {
        SCOPED_TRACE(code);
        CPreDefinedValue value;
        value.ComputedType = code;
        value.ConstantText = "constant";
        EXPECT_EQ(value.Description(), "constant");
        EXPECT_FALSE(value.IsSystemValue() || value.IsCalculatedValue());
        value.Computed = true;
        const auto row = table.find(code);
        const bool listed = row != table.end();
        EXPECT_EQ(value.Description(), listed ? row->second.first : "(unknown)");
        EXPECT_EQ(value.IsCalculatedValue(), listed && row->second.second);
        EXPECT_EQ(value.IsSystemValue(), listed && !row->second.second);
    }
}

} // namespace
