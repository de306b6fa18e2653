// KorvaneIni.dll loaded by file name, its functions found by their exported names (Windows).
#include "ledgerline/KorvaneIni/dll/KorvaneIni.h"
#include "ledgerline/platform/win32/Win32.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr const char* kDefault = "!2@3#4$5%6^7&8*9(0)[-]";

template <class Proc> Proc Bind(HMODULE library, const char* name) {
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

TEST(KorvaneIniDll, ReadsAFileThroughTheExportedNames) {
    const HMODULE library = LoadLibraryA("KorvaneIni.dll");
    ASSERT_NE(library, nullptr) << "KorvaneIni.dll beside the tests";
    const auto open = Bind<OpenIniProc>(library, KORVANEINI_OPENINI_NAME);
    const auto get = Bind<GetIniStringProc>(library, KORVANEINI_GETINISTRING_NAME);
    const auto close = Bind<CloseIniProc>(library, KORVANEINI_CLOSEINI_NAME);
    ASSERT_TRUE(open && get && close);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string path =
        std::string(temp) + "ldgrdll" + std::to_string(GetCurrentProcessId()) + ".ini";
    std::ofstream(path, std::ios::binary)
        << "[GENERAL]\r\nDataPath                 = \\\\srv\\data\\ \r\n";
    // The value as GetPPS reads it, with a guard character beyond the size.
    const auto read = [&](std::int32_t hIniFile, const char* key, std::int32_t size) {
        std::string buffer(2049, '#');
        const std::int32_t count = get("general", key, kDefault, buffer.data(), size, hIniFile);
        EXPECT_EQ(buffer[static_cast<std::size_t>(size)], '#') << "nothing beyond the size";
        return buffer.substr(0, static_cast<std::size_t>(count));
    };
    const std::int32_t hIniFile = open(path.c_str());
    ASSERT_NE(hIniFile, 0);
    EXPECT_EQ(read(hIniFile, " datapath ", 2048), "\\\\srv\\data\\");
    EXPECT_EQ(read(hIniFile, "DataPath", 4), "\\\\s");
    EXPECT_EQ(read(hIniFile, "Missing", 2048), kDefault);
    EXPECT_EQ(close(hIniFile), 1);
    std::filesystem::remove(path);
    FreeLibrary(library);
}

} // namespace
