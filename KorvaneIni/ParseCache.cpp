// The parsed files kept between opens: a file is parsed again only when it has changed.
#include "ledgerline/KorvaneIni/ParseCache.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

#include <algorithm>
#include <optional>

namespace KorvaneIni {
namespace {

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

std::shared_ptr<const IniIndex> ParseCache::Open(const std::string& sPath) {
    const std::optional<platform::FileVersion> before = VersionOf(sPath);
    if (!before) {
        return nullptr;
    }
    std::shared_ptr<const IniIndex> kept = Reuse(sPath, *before);
    return kept ? kept : Load(sPath, *before);
}

void ParseCache::Forget() {
    const std::scoped_lock guard(m_lock);
    m_files.clear();
}

std::shared_ptr<const IniIndex> ParseCache::Reuse(const std::string& sPath,
                                                  const platform::FileVersion& version) {
    const std::scoped_lock guard(m_lock);
    const auto kept = std::find_if(m_files.begin(), m_files.end(), [&](const Kept& file) {
        return file.version == version && SamePath(file.sPath, sPath);
    });
    if (kept == m_files.end()) {
        return nullptr;
    }
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

// The newest first, whatever its size (a file opened again and again is read once); the oldest
// go while there are too many files or bytes.
void ParseCache::Keep(Kept kept) {
    const std::scoped_lock guard(m_lock);
    std::erase_if(m_files, [&](const Kept& file) { return SamePath(file.sPath, kept.sPath); });
    m_files.insert(m_files.begin(), std::move(kept));
    std::size_t bytes = m_files.front().index->Bytes().size();
    const auto fits = std::find_if(m_files.begin() + 1, m_files.end(), [&](const Kept& file) {
        bytes += file.index->Bytes().size();
        return bytes > m_keptBytes;
    });
    m_files.erase(fits, m_files.end());
    if (m_files.size() > kKeptFiles) {
        m_files.erase(m_files.begin() + kKeptFiles, m_files.end());
    }
}

} // namespace KorvaneIni
