// Fuzz target: any bytes as an INI file, looked up through buffers of many sizes.
#include "config/ConfigDoubles.h"
#include "ledgerline/KorvaneIni/IniIndex.h"
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kPath = "C:\\fuzz\\Config.ini";
constexpr const char* kDefault = "!2@3#4$5%6^7&8*9(0)[-]";
constexpr char kCanary = '\x5A';

// Names to look up: the pieces between line ends, equals signs and brackets, so present,
// absent and oddly spaced names are all asked for. The library takes NUL-terminated names.
std::vector<std::string> NamesIn(std::string_view bytes) {
    std::vector<std::string> names{"", "GENERAL"};
    for (std::size_t start = 0; start < bytes.size() && names.size() < 64;) {
        const std::string_view name =
            bytes.substr(start, bytes.find_first_of("\r\n=[]", start) - start);
        names.emplace_back(name.substr(0, name.find('\0')));
        start += name.size() + 1;
    }
    return names;
}

// One lookup through a buffer of the given size, against the parsed file's own answer.
void CheckLookup(std::int32_t hIniFile, const KorvaneIni::IniIndex& index,
                 const std::string& section, const std::string& key, std::int32_t lSize) {
    std::vector<char> buffer(static_cast<std::size_t>(lSize) + 16, kCanary);
    const std::int32_t count = KorvaneIni::GetIniString(section.c_str(), key.c_str(), kDefault,
                                                        buffer.data(), lSize, hIniFile);
    const std::string_view expected = index.Find(section, key).value_or(kDefault);
    const auto fits = lSize == 0 ? 0 : std::min<std::size_t>(expected.size(), lSize - 1);
    if (count != static_cast<std::int32_t>(fits) ||
        std::string_view(buffer.data(), fits) != expected.substr(0, fits) ||
        (lSize > 0 && buffer[fits] != '\0') ||
        std::any_of(buffer.begin() + lSize, buffer.end(), [](char c) { return c != kCanary; })) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input is a new version of the file, so every input is parsed afresh.
    static ldgr::test::MemoryFiles files;
    static platform::ScopedServices services(platform::Services{.files = &files});
    const std::string content(reinterpret_cast<const char*>(data), size);
    files.Put(kPath, content);
    const std::int32_t hIniFile = KorvaneIni::OpenIni(kPath);
    if (hIniFile == 0) {
        std::abort();
    }
    const KorvaneIni::IniIndex index(content);
    const std::vector<std::string> names = NamesIn(content);
    const std::int32_t sizes[] = {0, 1, 2, 7, 2048};
    for (std::size_t i = 0; i < names.size(); ++i) {
        CheckLookup(hIniFile, index, names[i], names[(i * 7 + 3) % names.size()],
                    sizes[i % std::size(sizes)]);
        CheckLookup(hIniFile, index, names[i], names[i], 2048);
    }
    KorvaneIni::CloseIni(hIniFile);
    return 0;
}
