// Fuzz target for the INI library: any bytes as a configuration file, then lookups of names
// taken from those bytes and of names it lacks, through buffers of many sizes.
#include "KorvaneIni/IniIndex.h"
#include "KorvaneIni/KorvaneIni.h"
#include "config/ConfigDoubles.h"
#include "platform/Platform.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kPath = "C:\\fuzz\\Config.ini";
constexpr char kCanary = '\x5A';

// Names to look up: what stands before '=' on each line, what stands between brackets, and
// the whole line, so that present, absent and oddly spaced names are all asked for.
std::vector<std::string> NamesIn(std::string_view bytes) {
    std::vector<std::string> names{"", " ", "GENERAL"};
    while (!bytes.empty() && names.size() < 64) {
        const std::size_t end = std::min(bytes.find_first_of("\r\n"), bytes.size());
        const std::string_view line = bytes.substr(0, end);
        names.emplace_back(line.substr(0, line.find('=')));
        if (const auto open = line.find('['); open != std::string_view::npos) {
            names.emplace_back(line.substr(open + 1, line.find(']', open) - open - 1));
        }
        names.emplace_back(line);
        bytes.remove_prefix(std::min(bytes.size(), end + 1));
    }
    // The library takes NUL-terminated names: a name ends at its first NUL.
    for (std::string& name : names) {
        name.resize(std::strlen(name.c_str()));
    }
    return names;
}

// One lookup through a buffer of the given size, checking the buffer contract against the
// index's own answer.
void CheckLookup(std::int32_t hIniFile, const KorvaneIni::IniIndex& index,
                 const std::string& section, const std::string& key, std::int32_t lSize) {
    const char* fallback = "!2@3#4$5%6^7&8*9(0)[-]";
    std::vector<char> buffer(static_cast<std::size_t>(lSize) + 16, kCanary);
    const std::int32_t count = KorvaneIni::GetIniString(section.c_str(), key.c_str(), fallback,
                                                        buffer.data(), lSize, hIniFile);
    const std::string_view expected = index.Find(section, key).value_or(fallback);
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
        const std::string& section = names[i];
        const std::string& key = names[(i * 7 + 3) % names.size()];
        CheckLookup(hIniFile, index, section, key, sizes[i % std::size(sizes)]);
        CheckLookup(hIniFile, index, names[i], names[i], 2048);
    }
    KorvaneIni::CloseIni(hIniFile);
    // A closed handle reads as an empty file.
    char buffer[4] = {kCanary, kCanary, kCanary, kCanary};
    if (KorvaneIni::GetIniString("A", "B", "xyz", buffer, 3, hIniFile) != 2 ||
        buffer[3] != kCanary) {
        std::abort();
    }
    return 0;
}
