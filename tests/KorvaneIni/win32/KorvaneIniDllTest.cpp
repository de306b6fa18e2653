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

struct LibraryTraits {
    using Handle = HMODULE;
    static Handle None() { return nullptr; }
    static bool Free(Handle module) { return FreeLibrary(module) != 0; }
};
using Library = platform::win32::Owned<LibraryTraits>;

template <class Proc> Proc Bind(const Library& library, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

class KorvaneIniDll : public ::testing::Test {
protected:
    void SetUp() override {
        m_library = Library(LoadLibraryA("KorvaneIni.dll"));
        ASSERT_TRUE(m_library.IsValid()) << "KorvaneIni.dll beside the tests";
        m_open = Bind<OpenIniProc>(m_library, "_OpenIni@4");
        m_get = Bind<GetIniStringProc>(m_library, "_GetIniString@24");
        m_close = Bind<CloseIniProc>(m_library, "_CloseIni@4");
        ASSERT_TRUE(m_open && m_get && m_close);

        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        m_sPath = std::string(temp) + "ldgrdll" + std::to_string(GetCurrentProcessId()) + ".ini";
        std::ofstream(m_sPath, std::ios::binary)
            << "[GENERAL]\r\nDataPath                 = \\\\srv\\data\\ \r\n"
               "NumPrinterGroups         = 2\r\n[Group 1]\r\nName = Floor 1\r\n";
    }
    void TearDown() override { std::filesystem::remove(m_sPath); }

    // The value as GetPPS reads it: a 2048-character buffer and the not-found sentinel.
    std::string Read(std::int32_t hIniFile, const char* section, const char* key,
                     std::int32_t size = 2048) {
        std::string buffer(2049, '#'); // one guard character beyond the largest size
        const std::int32_t count =
            m_get(section, key, "!2@3#4$5%6^7&8*9(0)[-]", buffer.data(), size, hIniFile);
        EXPECT_EQ(buffer[count], '\0');
        EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '#') << "nothing beyond the size";
        return buffer.substr(0, static_cast<std::size_t>(count));
    }

    Library m_library;
    OpenIniProc m_open = nullptr;
    GetIniStringProc m_get = nullptr;
    CloseIniProc m_close = nullptr;
    std::string m_sPath;
};

TEST_F(KorvaneIniDll, ReadsAFileThroughTheExportedNames) {
    const std::int32_t hIniFile = m_open(m_sPath.c_str());
    ASSERT_NE(hIniFile, 0);
    const struct {
        const char* section;
        const char* key;
        std::int32_t size;
        const char* value;
    } cases[] = {
        {"General", "numprintergroups", 2048, "2"},
        {"GENERAL", "DataPath", 2048, "\\\\srv\\data\\"},
        {"Group 1", " Name ", 2048, "Floor 1"},
        {"Group 1", "Name", 4, "Flo"},
        {"Group 2", "Name", 2048, "!2@3#4$5%6^7&8*9(0)[-]"},
        {"GENERAL", "Missing", 2048, "!2@3#4$5%6^7&8*9(0)[-]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Read(hIniFile, c.section, c.key, c.size), c.value)
            << "[" << c.section << "] " << c.key << ", size " << c.size;
    }
    m_close(hIniFile);
    EXPECT_EQ(Read(hIniFile, "General", "NumPrinterGroups"), "!2@3#4$5%6^7&8*9(0)[-]")
        << "a closed handle reads as an empty file";
}

TEST_F(KorvaneIniDll, AFileThatCannotBeOpenedGivesNoHandle) {
    EXPECT_EQ(m_open((m_sPath + ".missing").c_str()), 0);
    EXPECT_EQ(m_open(nullptr), 0);
}

} // namespace
