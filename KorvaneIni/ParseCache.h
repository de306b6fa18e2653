// The parsed files kept between opens: a file is parsed again only when it has changed.
#pragma once

#include "ledgerline/KorvaneIni/IniIndex.h"
#include "ledgerline/platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace KorvaneIni {

// Keyed by the path (ignoring letter case) and the file's version: size, last-write time,
// change time and identity, proved with one query per open. A few files are kept, the least
// recently opened dropped first; an index stays alive for as long as a handle holds it. Not
// thread-safe: its owner serialises the calls.
class ParseCache {
public:
    // The parsed file, or null when it cannot be read (missing, a folder, a wildcard name,
    // refused access).
    std::shared_ptr<const IniIndex> Open(std::string_view sPath);
    // Drops every kept file; handles already open keep theirs.
    void Forget() { m_files.clear(); }

private:
    struct Kept {
        std::string sPath;
        platform::FileVersion version;
        std::shared_ptr<const IniIndex> index;
    };

    // Makes a kept file the most recently opened.
    std::shared_ptr<const IniIndex> Reuse(std::vector<Kept>::iterator kept);
    // Reads and parses the file, keeping it under the version seen before the read. sPath may
    // be a kept file's own text: it is copied before m_files changes.
    std::shared_ptr<const IniIndex> Load(const std::string& sPath,
                                         const platform::FileVersion& before);
    void Keep(Kept kept);

    std::vector<Kept> m_files; // most recently opened first
};

} // namespace KorvaneIni
