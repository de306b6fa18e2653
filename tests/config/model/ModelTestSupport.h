// The configuration model tests' world: a configuration file in memory and the boxes shown.
#pragma once

#include "KorvaneIni/KorvaneIni.h"
#include "config/ConfigDoubles.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ldgr::test {

inline constexpr const char* kModelFile = "C:\\Ledgerline\\Config.ini";
inline constexpr const char* kWrittenFile = "C:\\Ledgerline\\Written.ini";

class ModelTest : public ::testing::Test {
protected:
    ~ModelTest() override { Close(); }

    // Stores text as kModelFile; LF alone ends a line as CR LF does.
    void Put(std::string_view text) { world.files.Put(kModelFile, std::string(text)); }
    // Stores and opens text; the handle is closed by the next Open or when the test ends.
    std::int32_t Open(std::string_view text) {
        Close();
        Put(text);
        return m_hIniFile = KorvaneIni::OpenIni(kModelFile);
    }
    // Each box shown so far as its style and the first line of its text ("48 Entry [..]..").
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const ShownBox& box : world.desktop.boxes) {
            boxes.push_back(std::to_string(box.style) + " " +
                            box.text.substr(0, box.text.find('\r')));
        }
        return boxes;
    }
    // The written file with LF line ends.
    std::string Written() const {
        std::string text = world.files.Content(kWrittenFile);
        std::erase(text, '\r');
        return text;
    }

    ConfigWorld world;

private:
    void Close() { KorvaneIni::CloseIni(std::exchange(m_hIniFile, 0)); }

    std::int32_t m_hIniFile = 0;
};

} // namespace ldgr::test
