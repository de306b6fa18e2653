// The suite's own temporary files: made under names nobody can predict, swept when stale.
#pragma once

#include "platform/FileSystem.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace BCommon {

// The temporaries this code makes: an offline job record on its way to its job number
// ("~job<digits>.tmp") and a permission probe's test file ("test-<16 hex digits>.txt").
enum class TemporaryKind { JobRecord, AccessProbe };

struct CreatedTemporary {
    std::string sName;                         // without folder
    std::unique_ptr<platform::TextFile> pFile; // open for writing, empty
};

// Creates a temporary of that kind in the folder (ending with a backslash) under a random
// name, exclusively: an existing file or link of that name, in any letter case, is never
// opened; the name is taken again at random. Errors of the create are raised.
CreatedTemporary CreateTemporary(const std::string& sFolder, TemporaryKind kind);

// Whether a name is a permission probe's test file, letter case ignored.
bool IsProbeFileName(std::string_view sName);
// Whether a name is one of the suite's temporaries, letter case ignored: the two kinds above
// and a copy on its way to its target (".ldgrcopy.<anything>.tmp").
bool IsSuiteTemporaryName(std::string_view sName);

// Deletes the files of a listing of the folder that are the suite's temporaries and were last
// written more than ten minutes ago: what a run killed half-way left. A newer one may still
// be in use; one that cannot be deleted is left.
void RemoveStaleTemporaries(const std::string& sFolder,
                            const std::vector<platform::FindEntry>& listing);

} // namespace BCommon
