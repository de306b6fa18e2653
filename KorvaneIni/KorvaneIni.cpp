// The INI-reading library: open handles over shared parsed files.
#include "ledgerline/KorvaneIni/KorvaneIni.h"

#include "ledgerline/KorvaneIni/ParseCache.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace KorvaneIni {
namespace {

std::string_view TextOrEmpty(const char* text) {
    return text == nullptr ? "" : text;
}

// Copies as much of text as fits before the terminator; the count copied.
std::int32_t CopyTerminated(std::string_view text, char* sBuffer, std::int32_t lSize) {
    if (sBuffer == nullptr || lSize <= 0) {
        return 0;
    }
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(lSize) - 1);
    std::memcpy(sBuffer, text.data(), count);
    sBuffer[count] = '\0';
    return static_cast<std::int32_t>(count);
}

// The library's state. The suite's programs call it from one thread, but as a shared library
// it may be called from several: the lock guards the handles and every lookup (the parsed
// files index their sections on the first lookup, one lookup at a time). Files are opened,
// read and parsed without it, so no caller waits for another's file.
struct Library {
    std::mutex lock;
    ParseCache cache;
    std::unordered_map<std::int32_t, std::shared_ptr<const IniIndex>> handles;
    std::int32_t lLastHandle = 0;

    // The section the last read found. Callers read the keys of one section one after another,
    // through one handle or a read each (start-up reads two keys of every printer group so),
    // so the section is looked up once for all of them. The parsed file is held,
    // so a file parsed later at the same address is never taken for it.
    struct FoundSection {
        std::shared_ptr<const IniIndex> index;
        std::string sName;
        std::optional<std::uint32_t> number;
    };
    FoundSection lastFound;

    // Handles count up and are not reused while open, so a stale handle never reaches
    // another caller's file (until the count wraps, far beyond any program's life).
    std::int32_t NextHandle() {
        do {
            lLastHandle =
                lLastHandle == std::numeric_limits<std::int32_t>::max() ? 1 : lLastHandle + 1;
        } while (handles.contains(lLastHandle));
        return lLastHandle;
    }

    std::optional<std::string_view> Find(const std::shared_ptr<const IniIndex>& index,
                                         std::string_view section, std::string_view key) {
        if (lastFound.index != index || lastFound.sName != section) {
            lastFound.index = index;
            lastFound.sName.assign(section);
            lastFound.number = index->FindSection(section);
        }
        return lastFound.number ? index->Find(*lastFound.number, key) : std::nullopt;
    }

    // GetIniString's answer from a parsed file.
    std::int32_t CopyValue(const std::shared_ptr<const IniIndex>& index, const char* sSection,
                           const char* sKey, const char* sDefault, char* sBuffer,
                           std::int32_t lSize) {
        const std::string_view value =
            Find(index, TextOrEmpty(sSection), TextOrEmpty(sKey)).value_or(TextOrEmpty(sDefault));
        return CopyTerminated(value, sBuffer, lSize);
    }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

} // namespace

std::int32_t OpenIni(const char* sPath) {
    if (sPath == nullptr) {
        return 0;
    }
    Library& library = TheLibrary();
    std::shared_ptr<const IniIndex> index = library.cache.Open(sPath);
    if (!index) {
        return 0;
    }
    const std::scoped_lock guard(library.lock);
    const std::int32_t hIniFile = library.NextHandle();
    library.handles.emplace(hIniFile, std::move(index));
    return hIniFile;
}

std::int32_t GetIniString(const char* sSection, const char* sKey, const char* sDefault,
                          char* sBuffer, std::int32_t lSize, std::int32_t hIniFile) {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    const auto open = library.handles.find(hIniFile);
    if (open == library.handles.end()) {
        return CopyTerminated(TextOrEmpty(sDefault), sBuffer, lSize);
    }
    return library.CopyValue(open->second, sSection, sKey, sDefault, sBuffer, lSize);
}

std::optional<std::int32_t> ReadIniString(const char* sPath, const char* sSection, const char* sKey,
                                          const char* sDefault, char* sBuffer, std::int32_t lSize) {
    if (sPath == nullptr) {
        return std::nullopt;
    }
    Library& library = TheLibrary();
    const std::shared_ptr<const IniIndex> index = library.cache.Open(sPath);
    if (!index) {
        return std::nullopt;
    }
    const std::scoped_lock guard(library.lock);
    return library.CopyValue(index, sSection, sKey, sDefault, sBuffer, lSize);
}

std::int32_t CloseIni(std::int32_t hIniFile) {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    return library.handles.erase(hIniFile) != 0 ? 1 : 0;
}

bool HoldsParsedBytes(std::int32_t hIniFile, const std::string& sPath) {
    const std::shared_ptr<const IniIndex> index = ParsedFile(hIniFile);
    // The parsed form never changes: the file is read without holding up other callers.
    return index != nullptr && platform::Files().HoldsBytes(sPath, index->Bytes());
}

std::shared_ptr<const IniIndex> ParsedFile(std::int32_t hIniFile) {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    const auto open = library.handles.find(hIniFile);
    return open != library.handles.end() ? open->second : nullptr;
}

void ForgetParsedFiles() {
    Library& library = TheLibrary();
    library.cache.Forget();
    const std::scoped_lock guard(library.lock);
    library.lastFound = {};
}

} // namespace KorvaneIni
