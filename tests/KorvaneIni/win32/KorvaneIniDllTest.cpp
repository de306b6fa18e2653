// KorvaneIni.dll bound as the suite's programs bind it: loaded by file name, its three
// functions found by their exported names (Windows build only: uses the Windows loader).
#include "platform/win32/Win32.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

using OpenIniProc = std::int32_t(__stdcall*)(const char*);
using GetIniStringProc = std::int32_t(__stdcall*)(const char*, const char*, const char*, char*,
                                                  std::int32_t, std::int32_t);
using CloseIniProc = std::int32_t(__stdcall*)(std::int32_t);

constexpr const char* kDefault = "!2@3#4$5%6^7&8*9(0)[-]";

class KorvaneIniDll : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = LoadLibraryA("KorvaneIni.dll");
        ASSERT_NE(m_library, nullptr) << "KorvaneIni.dll beside the tests";
        m_open = Bind<OpenIniProc>("_OpenIni@4");
        m_get = Bind<GetIniStringProc>("_GetIniString@24");
        m_close = Bind<CloseIniProc>("_CloseIni@4");
        ASSERT_TRUE(m_open && m_get && m_close);
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_sPath = std::string(temp) + "ldgrdll" + std::to_string(GetCurrentProcessId()) + ".ini";
        std::ofstream(m_sPath, std::ios::binary)
            << "[GENERAL]\r\nDataPath                 = \\\\srv\\data\\ \r\n"
               "[Group 1]\r\nName = Floor 1\r\n";
    }
    void TearDown() override {
        std::filesystem::remove(m_sPath);
        if (m_library != nullptr) {
            FreeLibrary(m_library);
        }
    }

    template <class Proc> Proc Bind(const char* name) const {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(m_library, name)));
    }

    // The value as GetPPS reads it, with one guard character beyond the largest size.
    std::string Read(std::int32_t hIniFile, const char* section, const char* key,
                     std::int32_t size = 2048) {
        std::string buffer(2049, '#');
        const std::int32_t count = m_get(section, key, kDefault, buffer.data(), size, hIniFile);
        EXPECT_EQ(buffer[count], '\0');
        EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '#') << "nothing beyond the size";
        return buffer.substr(0, static_cast<std::size_t>(count));
    }

    HMODULE m_library = nullptr;
    OpenIniProc m_open = nullptr;
    GetIniStringProc m_get = nullptr;
    CloseIniProc m_close = nullptr;
    std::string m_sPath;
};

TEST_F(KorvaneIniDll, ReadsAFileThroughTheExportedNames) {
    const std::int32_t hIniFile = m_open(m_sPath.c_str());
    ASSERT_NE(hIniFile, 0);
    EXPECT_EQ(Read(hIniFile, "general", "DataPath"), "\\\\srv\\data\\");
    EXPECT_EQ(Read(hIniFile, "Group 1", " name ", 4), "Flo");
    EXPECT_EQ(Read(hIniFile, "GENERAL", "Missing"), kDefault);
    m_close(hIniFile);
    EXPECT_EQ(Read(hIniFile, "GENERAL", "DataPath"), kDefault) << "a closed handle reads as empty";
    EXPECT_EQ(m_open((m_sPath + ".missing").c_str()), 0);
    EXPECT_EQ(m_open(nullptr), 0);
}

} // namespace
