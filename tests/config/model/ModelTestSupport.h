// The configuration model tests' world: a configuration file in memory, the boxes shown, and
// the canonical file that the writers produce.
#pragma once

#include "config/ConfigDoubles.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace ldgr::testing {

inline constexpr const char* kModelFile = "C:\\Ledgerline\\Config.ini";
inline constexpr const char* kWrittenFile = "C:\\Ledgerline\\Written.ini";

// Text with LF line ends given CR LF ones, as the writers end their lines.
std::string Crlf(std::string_view text);

// A file in layout 2 exactly as the writers produce it: general options, group PG1 with one
// category of two values, group PG2 without categories.
extern const char* const kLayout2File;

class ModelTest : public ::testing::Test {
protected:
    ~ModelTest() override;

    // Stores text (LF line ends) as kModelFile.
    void Put(std::string_view text);
    // Stores text as kModelFile and opens it; the handle is closed by the next Open or when
    // the test ends.
    std::int32_t Open(std::string_view text);
    // Each box shown so far as its style and the first line of its text ("48 Entry [..]..").
    std::vector<std::string> Boxes() const;
    // The written file with LF line ends.
    std::string Written() const;

    ConfigWorld world;

private:
    void Close();

    std::int32_t m_hIniFile = 0;
};

} // namespace ldgr::testing
