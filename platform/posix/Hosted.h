// The hosted personality's internals shared by its implementation files.
#pragma once

#include "ledgerline/platform/Platform.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::posix {

class RegFile;

// Starts the desktop afresh: the program's identity from argv[0], the name it was invoked by
// (call it after EnsureSkeleton, the program folder is mapped through the drives), no title,
// scripted message-box answers taken from the first again.
void StartDesktop(const std::string& argv0);

// The prefix folder: LDGR_PREFIX, else $HOME/.ledgerline.
std::string PrefixFolder();
// Whether the prefix folder is this one; with LDGR_PREFIX set, without making a text.
bool IsPrefixFolder(const std::string& folder);
// Creates what is missing of the prefix skeleton; touches nothing that exists.
void EnsureSkeleton();

// The prefix's registry file (registry.reg) as it is now, parsed again whenever it has changed;
// null when it is missing or unreadable.
std::shared_ptr<const RegFile> CurrentRegistryFile();

// The computer name: LDGR_COMPUTERNAME when set (even empty), else the host's name in upper case.
std::string HostedComputerName();

// The user name: LDGR_USERNAME when set (even empty or blank), else the login name.
std::string HostUserName();
// What keeps a name from being one Windows could report as a user's or a computer's (a
// character it never allows, a control character, nothing but dots and blanks); empty when
// the name is fine. An empty name is fine: it stands for a query that found none.
std::string UserNameProblem(std::string_view name);
std::string ComputerNameProblem(std::string_view name);
// The same for a file's name: a character Windows forbids in one.
std::string FileNameProblem(std::string_view name);
// Ends the process with status 2, after one line on standard error naming the variable, when
// LDGR_USERNAME or LDGR_COMPUTERNAME holds a name Windows could never report, or the program's
// own file name (the last component of programPath) is none Windows could hold: such a name
// could lead a path out of the folder it names. Names are judged in the system's code page.
// Runs before anything is created.
void RefuseUnreportableNames(std::string_view programPath);

// The name of the user's profile folder: the user name, or the login name when it is blank.
std::string ProfileUserName();

// The host path a Windows path names. Each component that does not exist as written is
// matched against the folder's entries ignoring letter case; a component that matches
// nothing stays as written.
std::string ToHostPath(const std::string& windowsPath);
// Whether anything, a dangling link included, is at a host path.
bool HostPathExists(const std::string& hostPath);
// A path component as Win32 path normalisation leaves it: trailing dots and blanks dropped
// ("bob " and "x." name "bob" and "x").
std::string WithoutTrailingDotsAndBlanks(std::string component);

// The non-empty parts of a path between separators: doubled and trailing separators give none.
std::vector<std::string_view> SplitComponents(std::string_view path, char separator);

// The host path a Windows path on a drive names as written, its drive through the link in
// lower case: no query is made, so it may name nothing where letter case differs (a caller
// that finds nothing there asks ToHostPath). Other paths as ToHostPath maps them. The last
// answer on each thread is kept while the prefix stays: start-up asks for one path thousands
// of times.
std::string ToHostPathAsWritten(const std::string& windowsPath);
// The Windows name of a host path: through the drive whose folder holds it (the longest
// match), else Z:\ and the path.
std::string ToWindowsPath(const std::string& hostPath);

// Whether a name matches a file-name pattern with * and ?, as Windows matches them (letter
// case ignored, "*.*" matches names without a dot too, "*." only those, "?" never takes a
// dot and may match nothing at the end of a name or before a dot).
bool MatchesPattern(const std::string& name, const std::string& pattern);

// An entry of a host folder as the directory read gives it: its name and its kind (a d_type
// value; DT_UNKNOWN where the file system does not say).
struct HostFolderEntry {
    std::string name;
    unsigned char kind;
};
// Hands the entries of a host folder to visit as the host reads them, until visit returns
// false; "." and ".." come first when asked for, else not at all. False when the folder
// cannot be read.
bool VisitHostFolder(const std::string& hostFolder, bool withDotEntries,
                     const std::function<bool(HostFolderEntry&&)>& visit);
// The entries of a host folder ("." and ".." excluded), unsorted; nothing when unreadable.
std::optional<std::vector<HostFolderEntry>> ReadHostFolder(const std::string& hostFolder);
// Their names alone; empty when unreadable.
std::vector<std::string> FolderEntries(const std::string& hostFolder);

} // namespace platform::posix
