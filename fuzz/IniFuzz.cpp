// Fuzz target: any bytes as an INI file, every lookup held against the plain reader of the
// reading rules and made through buffers of many sizes.
#include "PlainIniReader.h"
#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "support/PlatformDoubles.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr const char* kPath = "C:\\fuzz\\Config.ini";
constexpr const char* kDefault = "!2@3#4$5%6^7&8*9(0)[-]";
constexpr char kCanary = '\x5A';

std::uint64_t g_inputs = 0;
std::uint64_t g_lookups = 0;

// Names to look up: the pieces between line ends, equals signs and brackets, so present,
// absent and oddly spaced names are all asked for; each also with its letters' case turned
// and cut to the lengths where the library's folding changes step. The library takes
// NUL-terminated names.
std::vector<std::string> NamesIn(std::string_view bytes) {
    std::vector<std::string> names{"", "GENERAL"};
    for (std::size_t start = 0; start < bytes.size() && names.size() < 48;) {
        const std::string_view piece =
            bytes.substr(start, bytes.find_first_of("\r\n=[]", start) - start);
        const std::string name(piece.substr(0, piece.find('\0')));
        start += piece.size() + 1;
        std::string turned = name;
        for (char& c : turned) {
            c = ldgr::ascii::Upper(c) != c ? ldgr::ascii::Upper(c) : ldgr::ascii::Lower(c);
        }
        names.push_back(name);
        names.push_back(turned);
        for (const std::size_t length : {7, 8, 9, 15, 16, 17}) {
            if (turned.size() > length) {
                names.push_back(turned.substr(0, length));
            }
        }
    }
    return names;
}

// One lookup through a buffer of the given size, against the plain reader's answer.
void CheckLookup(std::int32_t hIniFile, std::string_view content, const std::string& section,
                 const std::string& key, std::int32_t lSize) {
    std::vector<char> buffer(static_cast<std::size_t>(lSize) + 16, kCanary);
    const std::int32_t count = KorvaneIni::GetIniString(section.c_str(), key.c_str(), kDefault,
                                                        buffer.data(), lSize, hIniFile);
    const std::string expected = ldgr::fuzz::PlainLookup(content, section, key).value_or(kDefault);
    const auto fits = lSize == 0 ? 0 : std::min<std::size_t>(expected.size(), lSize - 1);
    ++g_lookups;
    if (count != static_cast<std::int32_t>(fits) ||
        std::string_view(buffer.data(), fits) != std::string_view(expected).substr(0, fits)) {
        std::fprintf(stderr, "IniFuzz: disagreement on [%s] %s: library \"%.*s\", plain \"%.*s\"\n",
                     section.c_str(), key.c_str(), static_cast<int>(fits), buffer.data(),
                     static_cast<int>(expected.size()), expected.data());
        std::abort();
    }
    if ((lSize > 0 && buffer[fits] != '\0') ||
        std::any_of(buffer.begin() + lSize, buffer.end(), [](char c) { return c != kCanary; })) {
        std::fprintf(stderr, "IniFuzz: written beyond %d bytes\n", lSize);
        std::abort();
    }
}

void Report() {
    std::fprintf(stderr, "IniFuzz: %llu inputs, %llu lookups compared, 0 disagreements\n",
                 static_cast<unsigned long long>(g_inputs),
                 static_cast<unsigned long long>(g_lookups));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Each input is a new version of the one file the target reads.
    static ldgr::test::MemoryFiles files;
    static platform::ScopedServices services(platform::Services{.files = &files});
    [[maybe_unused]] static const int reported = std::atexit(Report);
    const std::string content(reinterpret_cast<const char*>(data), size);
    files.Put(kPath, content);
    const std::int32_t hIniFile = KorvaneIni::OpenIni(kPath);
    if (hIniFile == 0) {
        std::abort();
    }
    ++g_inputs;
    const std::vector<std::string> names = NamesIn(content);
    const std::int32_t sizes[] = {0, 1, 2, 7, 2048};
    for (std::size_t i = 0; i < names.size(); ++i) {
        CheckLookup(hIniFile, content, names[i], names[(i * 7 + 3) % names.size()],
                    sizes[i % std::size(sizes)]);
        CheckLookup(hIniFile, content, names[i], names[i], 2048);
    }
    KorvaneIni::CloseIni(hIniFile);
    return 0;
}
