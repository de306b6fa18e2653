// The parsed files kept between opens: a file is parsed again only when it has changed.
#include "ledgerline/KorvaneIni/ParseCache.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <optional>

namespace KorvaneIni {
namespace {

constexpr std::size_t kKeptFiles = 8;

// The version of an ordinary file that may be read, or nothing.
std::optional<platform::FileVersion> VersionOf(const std::string& sPath) {
    std::optional<platform::FileVersion> version;
    if (!sPath.empty()) {
        BCommon::SkipFailingStep([&] { version = platform::Files().VersionOf(sPath); });
    }
    return version;
}

// The file's bytes; nothing when it cannot be read.
std::optional<platform::FileBytes> ReadWholeFile(const std::string& sPath) {
    std::optional<platform::FileBytes> content;
    BCommon::SkipFailingStep([&] {
        auto file = platform::Files().OpenText(sPath, platform::OpenMode::Input);
        platform::FileBytes bytes = file->ReadAllBytes();
        file->Close();
        content = std::move(bytes);
    });
    return content;
}

// Paths name the same file when they differ in letter case only; callers mostly pass the
// same text again, which is checked first as the quicker test.
bool SamePath(const std::string& a, const std::string& b) {
    return a == b || ldgr::ascii::EqualsIgnoreCase(a, b);
}

} // namespace

std::shared_ptr<const IniIndex> ParseCache::Open(std::string_view sPath) {
    // Start-up opens one file thousands of times by the same name: the kept file's own text of
    // it is asked about, and no text is made for the open.
    const auto named = std::find_if(m_files.begin(), m_files.end(),
                                    [&](const Kept& file) { return file.sPath == sPath; });
    std::string sMade;
    const std::string& sNamed = named != m_files.end() ? named->sPath : (sMade = sPath);
    const std::optional<platform::FileVersion> before = VersionOf(sNamed);
    if (!before) {
        return nullptr;
    }
    const auto kept = std::find_if(m_files.begin(), m_files.end(), [&](const Kept& file) {
        return file.version == *before && SamePath(file.sPath, sNamed);
    });
    return kept != m_files.end() ? Reuse(kept) : Load(sNamed, *before);
}

std::shared_ptr<const IniIndex> ParseCache::Reuse(std::vector<Kept>::iterator kept) {
    std::rotate(m_files.begin(), kept, kept + 1);
    return m_files.front().index;
}

std::shared_ptr<const IniIndex> ParseCache::Load(const std::string& sPath,
                                                 const platform::FileVersion& before) {
    std::optional<platform::FileBytes> content = ReadWholeFile(sPath);
    if (!content) {
        return nullptr;
    }
    const bool bWhole = content->View().size() == before.size;
    auto index = std::make_shared<const IniIndex>(std::move(*content));
    // The suite's copier may rename a new version over the file at any moment. What was read
    // is kept under the version seen before the read: a version that came after it has
    // another identity or change time, so a later open reads it anew. A read whose length
    // differs from that size met such a change (or a writer at work) and serves this open
    // only.
    if (bWhole) {
        Keep({sPath, before, index});
    }
    return index;
}

void ParseCache::Keep(Kept kept) {
    std::erase_if(m_files, [&](const Kept& file) { return SamePath(file.sPath, kept.sPath); });
    if (m_files.size() >= kKeptFiles) {
        m_files.pop_back();
    }
    m_files.insert(m_files.begin(), std::move(kept));
}

} // namespace KorvaneIni
