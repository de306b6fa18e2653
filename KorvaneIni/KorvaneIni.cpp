// The INI-reading library: open handles over shared parsed files.
#include "KorvaneIni/KorvaneIni.h"

#include "KorvaneIni/ParseCache.h"
#include "platform/Platform.h"

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

// The library's state. The suite's programs call it from one thread, but as a shared library
// it may be called from several, so every call holds the lock.
struct Library {
    std::mutex lock;
    ParseCache cache;
    using Handles = std::unordered_map<std::int32_t, std::shared_ptr<const IniIndex>>;
    Handles handles;
    std::int32_t lLastHandle = 0;
    // The entry of the last handle closed, kept for the next open: start-up opens and closes
    // the configuration file thousands of times, and each entry would be allocated anew.
    Handles::node_type spare;

    // The section the last read found. Callers read the keys of one section one after another,
    // through one handle or through a handle each (start-up reads two keys of every printer
    // group so), so the section is looked up once for all of them. The parsed file is held,
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
            lastFound = {index, std::string(section), index->FindSection(section)};
        }
        return lastFound.number ? index->Find(*lastFound.number, key) : std::nullopt;
    }
};

Library& TheLibrary() {
    static Library library;
    return library;
}

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

} // namespace

std::int32_t OpenIni(const char* sPath) {
    if (sPath == nullptr) {
        return 0;
    }
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    std::shared_ptr<const IniIndex> index = library.cache.Open(sPath);
    if (!index) {
        return 0;
    }
    const std::int32_t hIniFile = library.NextHandle();
    if (library.spare.empty()) {
        library.handles.emplace(hIniFile, std::move(index));
    } else {
        library.spare.key() = hIniFile;
        library.spare.mapped() = std::move(index);
        library.handles.insert(std::move(library.spare));
    }
    return hIniFile;
}

std::int32_t GetIniString(const char* sSection, const char* sKey, const char* sDefault,
                          char* sBuffer, std::int32_t lSize, std::int32_t hIniFile) {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    std::string_view value = TextOrEmpty(sDefault);
    if (const auto open = library.handles.find(hIniFile); open != library.handles.end()) {
        value =
            library.Find(open->second, TextOrEmpty(sSection), TextOrEmpty(sKey)).value_or(value);
    }
    return CopyTerminated(value, sBuffer, lSize);
}

std::int32_t CloseIni(std::int32_t hIniFile) {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    Library::Handles::node_type closed = library.handles.extract(hIniFile);
    if (closed.empty()) {
        return 0;
    }
    closed.mapped().reset(); // the parsed file is let go now, not at the next open
    library.spare = std::move(closed);
    return 1;
}

bool HoldsParsedBytes(std::int32_t hIniFile, const std::string& sPath) {
    std::shared_ptr<const IniIndex> index;
    {
        Library& library = TheLibrary();
        const std::scoped_lock guard(library.lock);
        if (const auto open = library.handles.find(hIniFile); open != library.handles.end()) {
            index = open->second;
        }
    }
    // The parsed form never changes: the file is read without holding up other callers.
    return index != nullptr && platform::Files().HoldsBytes(sPath, index->Bytes());
}

void ForgetParsedFiles() {
    Library& library = TheLibrary();
    const std::scoped_lock guard(library.lock);
    library.cache.Forget();
    library.lastFound = {};
}

} // namespace KorvaneIni
