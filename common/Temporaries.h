/// @file
/// The suite's own temporary files: made under names nobody can predict, swept when stale.
#pragma once

#include "ledgerline/platform/FileSystem.h"

#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace BCommon {

/// The temporaries this code makes: an offline job record on its way to its job number
/// ("~job<16 decimal digits>.tmp") and a permission probe's test file ("test-<16 decimal
/// digits>.txt"), in lower case.
enum class TemporaryKind { JobRecord, AccessProbe };

/// A temporary just made: its name and the file, open.
struct CreatedTemporary {
    std::string sName;                         ///< without folder
    std::unique_ptr<platform::TextFile> pFile; ///< open for writing, empty
};

/// Creates a temporary of that kind in the folder (ending with a backslash) under a random
/// name, exclusively: an existing file or link of that name, in any letter case, is never
/// opened; the name is taken again at random. Errors of the create are raised.
CreatedTemporary CreateTemporary(const std::string& sFolder, TemporaryKind kind);

/// Whether a name is a permission probe's test file as the probe makes it, letter case
/// included.
bool IsProbeFileName(std::string_view sName);
/// Whether a name is one of the suite's temporaries exactly as made (prefix, suffix, and a
/// random part of fixed length and alphabet, letter case included): the two kinds above and a
/// copy on its way to its target. A user's "~job1.tmp" or "TEST-0000000000000000.TXT" is none.
bool IsSuiteTemporaryName(std::string_view sName);

/// The suite's temporaries of one listing, as many as one sweep queries at most, chosen at random
/// among all the listing holds (a reservoir sample): a folder planted full of them costs a
/// name check per entry, and runs one after another come to every one.
class TemporarySample {
public:
    TemporarySample();
    /// Takes a listed entry into the sample, or not, when it is one of the suite's temporaries.
    void Offer(const platform::FindEntry& entry);
    /// The names sampled so far, without folder.
    const std::vector<std::string>& Names() const { return m_names; }

private:
    std::vector<std::string> m_names;
    std::uint64_t m_offered = 0;
    std::mt19937_64 m_random;
};

/// Deletes the sampled temporaries of the folder that are stale: what a run killed half-way
/// left. Stale means last written more than ten minutes before or after the folder's own
/// clock, the time stamp of a file made there just now, never this computer's clock
/// (workstations' clocks differ from the file server's, which stamps the files); a temporary
/// in use carries the time of its making or of its last write. At most 64 are deleted per
/// sweep. One that cannot be deleted (held without delete sharing while in use) is left.
void RemoveStaleTemporaries(const std::string& sFolder, const TemporarySample& sample);
/// The same for a folder listed for nothing else.
void RemoveStaleTemporaries(const std::string& sFolder);

} // namespace BCommon
