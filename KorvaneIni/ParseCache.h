// The parsed files kept between opens: a file is parsed again only when it has changed.
#pragma once

#include "ledgerline/KorvaneIni/IniIndex.h"
#include "ledgerline/platform/FileSystem.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace KorvaneIni {

// Keyed by the path (ignoring letter case) and the file's version: size, last-write time,
// change time and identity, proved with one query per open. The file opened last is kept, and
// beside it a few more within kKeptBytes together, the least recently opened dropped first; an
// index stays alive for as long as a handle holds it. Safe to call from several threads: the file
// is queried, read and parsed without the cache's lock, which guards the kept files alone, so an
// open never waits for another file's read or parse (two opens of one changed file at once may both
// parse it).
class ParseCache {
public:
    static constexpr std::size_t kKeptFiles = 8;
    static constexpr std::size_t kKeptBytes = std::size_t{32} << 20;

    explicit ParseCache(std::size_t keptBytes = kKeptBytes) : m_keptBytes(keptBytes) {}

    // The parsed file, or null when it cannot be read (missing, a folder, a wildcard name,
    // refused access).
    std::shared_ptr<const IniIndex> Open(const std::string& sPath);
    // Drops every kept file; handles already open keep theirs.
    void Forget();

private:
    struct Kept {
        std::string sPath;
        platform::FileVersion version;
        std::shared_ptr<const IniIndex> index;
    };

    // The kept parse of this version of the file, made the most recently opened; or null.
    std::shared_ptr<const IniIndex> Reuse(const std::string& sPath,
                                          const platform::FileVersion& version);
    // Reads and parses the file, keeping it under the version seen before the read.
    std::shared_ptr<const IniIndex> Load(const std::string& sPath,
                                         const platform::FileVersion& before);
    void Keep(Kept kept);

    const std::size_t m_keptBytes;
    std::mutex m_lock;
    std::vector<Kept> m_files; // most recently opened first
};

} // namespace KorvaneIni
