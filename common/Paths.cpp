// Path and drive helpers: drive letters, network paths and this computer's shares.
//
// Where the system's fixed buffers could overflow, these helpers choose:
// - a share's local path is read through a buffer that holds the longest path the system
//   allows (32767 UTF-16 characters), so a long share folder is still recognised as local;
// - the last-write stamp wraps modulo 2^32 instead of failing with an overflow, so a file
//   always has a stamp and an unchanged file always has the same one;
// - a folder count stops at 32767, the largest 16-bit count.
// No text is written through a buffer of fixed size: every result is a growing string.
#include "ledgerline/common/Paths.h"

#include "ledgerline/common/DateAndFiles.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"

#include <limits>

namespace BCommon {
namespace {

constexpr const char* kDriveNotFound = "Drive Letter Not Found";
constexpr std::size_t kEnumerationBuffer = 1024 * 32; // 1024 entries of 32 bytes
constexpr std::size_t kSharePathBuffer = (32767 + 1) * 2;

bool IsNetworkPath(std::string_view path) {
    return path.starts_with("\\\\");
}

// The folder part of a network path without the leading backslashes and without what
// follows its last backslash: "server\share\dir" of "\\server\share\dir\".
std::string ServerShareAndFolders(const std::string& sFolder) {
    const std::string sAfter = sFolder.substr(2);
    const std::size_t last = sAfter.find_last_of('\\');
    return last == std::string::npos ? std::string(ldgr::ascii::Trim(sAfter))
                                     : sAfter.substr(0, last);
}

// Whether the names of a network path include this computer's name. The test looks at
// server, share and folder names alike, so a server PC12 counts as this computer PC1; the
// existence check of the converted path decides then. An unknown (empty) computer name
// names no computer.
bool NamesThisComputer(const std::string& sFolder) {
    const std::string& sMachine = Env().m_sMachineName;
    return !sMachine.empty() &&
           ldgr::ascii::ContainsIgnoreCase(ServerShareAndFolders(sFolder), sMachine);
}

} // namespace

std::string AddBackslash(const std::string& sPath) {
    if (sPath.empty() || sPath.ends_with('\\')) {
        return sPath;
    }
    return sPath + "\\";
}

std::string RemoveTrailingBackslashes(const std::string& sPath) {
    std::string path = sPath;
    for (int i = 0; i < 2 && path.ends_with('\\'); ++i) {
        path.pop_back();
    }
    return path;
}

std::string FolderOf(const std::string& sPath) {
    const auto slash = sPath.find_last_of('\\');
    return slash == std::string::npos ? std::string() : sPath.substr(0, slash + 1);
}

std::string PathInFolder(const std::string& sFolder, const std::string& sRest) {
    return sFolder.empty() ? std::string() : sFolder + sRest;
}

void CreateFolderIfMissing(const std::string& sPath) {
    const auto isFolder = [&] {
        const auto entry = platform::Files().FindFirst(sPath);
        return entry && entry->isFolder;
    };
    if (isFolder()) {
        return;
    }
    try {
        platform::Files().CreateFolder(sPath);
    } catch (const ldgr::Error&) {
        if (!isFolder()) {
            throw;
        }
    }
}

std::string GetNetworkPath(const std::string& sDrive) {
    std::string sResult = kDriveNotFound;
    SkipFailingStep([&] {
        const auto connections = platform::Net().ConnectedResources(kEnumerationBuffer);
        if (!connections) {
            return;
        }
        const std::string sWanted = ldgr::ascii::Upper(sDrive);
        for (const platform::NetConnection& connection : *connections) {
            // A connection without a local name (a bare \\server\share) is no drive.
            const std::string sLocal = connection.localName.value_or("");
            if (!sLocal.empty() && ldgr::ascii::Upper(sLocal) == sWanted) {
                sResult = connection.remoteName.value_or("");
                return;
            }
        }
    });
    return sResult;
}

std::string GetMappedDrivePath(const std::string& sPath) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const std::string sDrive = std::string(1, letter) + ":";
        const std::string sNet = GetNetworkPath(sDrive);
        platform::Ui().ProcessPendingMessages();
        // A connection without a remote name reaches no share.
        if (sNet.empty() || !ldgr::ascii::StartsWithIgnoreCase(sPath, sNet)) {
            continue;
        }
        if (sPath.size() == sNet.size()) {
            return sDrive + "\\";
        }
        // \\srv\data is only the beginning of \\srv\data2: that is another share.
        if (sPath[sNet.size()] == '\\') {
            return sDrive + "\\" + sPath.substr(sNet.size() + 1);
        }
    }
    return sPath;
}

std::string GetAbsolutePath(const std::string& sPath) {
    // Split after the last backslash, unless it is one of the first two characters: a bare
    // \\server or x: stays whole.
    const std::size_t last = sPath.find_last_of('\\');
    const bool split = last != std::string::npos && last >= 2;
    std::string sFolder = AddBackslash(split ? sPath.substr(0, last + 1) : sPath);
    const std::string sFile = split ? sPath.substr(last + 1) : std::string();

    const std::string sNet = GetNetworkPath(sFolder.substr(0, 2));
    if (IsNetworkPath(sNet)) {
        sFolder = sNet + sFolder.substr(2);
    }
    if (IsNetworkPath(sFolder) && NamesThisComputer(sFolder)) {
        sFolder = GetSharePath(sFolder);
        // No such share here: nothing to convert.
        if (sFolder.empty()) {
            return sPath;
        }
    }
    const std::string sCandidate = sFolder + sFile;
    return FindFile(sCandidate).empty() ? sPath : sCandidate;
}

std::string GetSharePath(const std::string& sPath) {
    std::string sLocal;
    SkipFailingStep([&] {
        if (sPath.size() < 2) {
            return;
        }
        const std::string sAfter = sPath.substr(2);
        const std::size_t serverEnd = sAfter.find('\\');
        if (serverEnd == std::string::npos) {
            return;
        }
        const std::string sServer = sAfter.substr(0, serverEnd);
        const std::string sShareAndRest = sAfter.substr(serverEnd + 1);
        const std::size_t shareEnd = sShareAndRest.find('\\');
        const std::string sShare = sShareAndRest.substr(0, shareEnd);
        const std::string sRest =
            shareEnd == std::string::npos ? std::string() : sShareAndRest.substr(shareEnd);
        const auto sharePath = platform::Net().ShareLocalPath(
            "\\\\" + sServer, ldgr::ascii::Upper(sShare), kSharePathBuffer);
        if (sharePath) {
            sLocal = *sharePath + sRest;
        }
    });
    return sLocal;
}

std::int32_t GetFileStamp(const std::string& sPath) {
    std::int32_t stamp = 0;
    SkipFailingStep([&] {
        const auto entry = platform::Files().FindFirst(RemoveTrailingBackslashes(sPath));
        if (!entry) {
            return;
        }
        const auto low = static_cast<std::uint32_t>(entry->lastWriteTime);
        const auto high = static_cast<std::uint32_t>(entry->lastWriteTime >> 32);
        stamp = static_cast<std::int32_t>(low + high);
    });
    return stamp;
}

std::int16_t CountFolderEntries(const std::string& sPattern) {
    std::int16_t count = 0;
    SkipFailingStep([&] {
        if (sPattern.empty()) {
            return;
        }
        for (const platform::FindEntry& entry :
             platform::Files().FindAllUnordered(sPattern, platform::FindDetail::Attributes)) {
            const bool listed = !entry.isHidden && !entry.isSystem;
            const bool counted = entry.name != "." && entry.name != ".." && entry.name != " ";
            if (listed && counted && count < std::numeric_limits<std::int16_t>::max()) {
                ++count;
            }
            platform::Ui().ProcessPendingMessages();
        }
    });
    return count;
}

} // namespace BCommon
