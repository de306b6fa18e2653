// Windows paths and host paths: drives, shares and the current folder, Windows' path rules,
// letter case ignored, and host folders read.
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

using ldgr::ascii::Lower;
using ldgr::ascii::Upper;

std::string CurrentFolder() {
    std::string buffer(4096, '\0');
    while (getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return "/";
        }
        buffer.resize(buffer.size() * 2);
    }
    return buffer.c_str();
}

std::string RealPath(const std::string& hostPath) {
    char* resolved = realpath(hostPath.c_str(), nullptr);
    if (resolved == nullptr) {
        return {};
    }
    std::string result(resolved);
    std::free(resolved);
    return result;
}

// The components of a path as texts of their own.
std::vector<std::string> OwnedComponents(std::string_view path, char separator) {
    const std::vector<std::string_view> parts = SplitComponents(path, separator);
    return {parts.begin(), parts.end()};
}

// Drops "." and resolves ".." against the components before it; ".." never climbs above the
// first component.
std::vector<std::string> WithoutDots(const std::vector<std::string>& components) {
    std::vector<std::string> kept;
    for (const std::string& component : components) {
        if (component == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (component != ".") {
            kept.push_back(component);
        }
    }
    return kept;
}

// Device names that Windows keeps in every folder, with or without an extension ("NUL.txt"),
// the superscript digits of the code page included ("COM\xB9" is COM¹).
bool IsReservedDeviceName(const std::string& component) {
    static constexpr std::string_view kDevices[] = {
        "CON",     "PRN",     "AUX",  "NUL",  "COM1",    "COM2",    "COM3",
        "COM4",    "COM5",    "COM6", "COM7", "COM8",    "COM9",    "COM\xB9",
        "COM\xB2", "COM\xB3", "LPT1", "LPT2", "LPT3",    "LPT4",    "LPT5",
        "LPT6",    "LPT7",    "LPT8", "LPT9", "LPT\xB9", "LPT\xB2", "LPT\xB3"};
    std::string base = component.substr(0, component.find('.'));
    base.erase(base.find_last_not_of(' ') + 1);
    return std::any_of(std::begin(kDevices), std::end(kDevices),
                       [&](std::string_view device) { return SameIgnoringCase(base, device); });
}

// A character no Windows file name holds: a control character, or one of < > : " | ? * (the
// last two are wildcards, which a path naming one file cannot hold either).
bool HasForbiddenCharacter(const std::string& component) {
    return std::any_of(component.begin(), component.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 ||
               std::string_view("<>:\"|?*").find(c) != std::string_view::npos;
    });
}

// The components of a Windows path as the system resolves them: "." and ".." resolved, then
// trailing dots and blanks dropped (a component left empty names nothing). A reserved device
// name, or a name with a character Windows forbids, is a bad file name (error 52): the host
// would create it as an ordinary file, and a "?" or "*" would be taken for a pattern later.
std::vector<std::string> WindowsComponents(const std::vector<std::string>& components) {
    std::vector<std::string> kept;
    for (const std::string& component : WithoutDots(components)) {
        std::string normal = WithoutTrailingDotsAndBlanks(component);
        if (IsReservedDeviceName(normal) || HasForbiddenCharacter(normal)) {
            throw ldgr::Error(ldgr::kBadFileNameOrNumber);
        }
        if (!normal.empty()) {
            kept.push_back(std::move(normal));
        }
    }
    return kept;
}

// A folder whose entries take more room than this is large: reading it costs more than asking
// for a few hundred names (some 3,000 entries of short names on the usual file systems).
constexpr off_t kLargeFolderBytes = 64 * 1024;
// Spellings of a name asked for one by one at most; a name with more letters is looked for
// by reading the folder.
constexpr std::size_t kMostSpellings = 256;

bool IsLargeFolder(const std::string& hostFolder) {
    struct stat info {};
    return stat(hostFolder.c_str(), &info) == 0 && info.st_size > kLargeFolderBytes;
}

// The name in every letter case, in byte order; nothing when it has too many letters, or
// letters beyond ASCII, whose case pairs the folder's own reading settles.
std::optional<std::vector<std::string>> Spellings(const std::string& name) {
    if (std::any_of(name.begin(), name.end(),
                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
        return std::nullopt;
    }
    std::vector<std::string> spellings{name};
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (Upper(name[i]) == Lower(name[i])) {
            continue;
        }
        if (spellings.size() * 2 > kMostSpellings) {
            return std::nullopt;
        }
        const std::size_t count = spellings.size();
        for (std::size_t k = 0; k < count; ++k) {
            spellings[k][i] = Upper(name[i]);
            spellings.push_back(spellings[k]);
            spellings.back()[i] = Lower(name[i]);
        }
    }
    std::sort(spellings.begin(), spellings.end());
    return spellings;
}

// The host name of the existing entry of a folder that a component (code-page text) names,
// letter case ignored; the component's host form when none does.
std::string MatchComponent(const std::string& hostFolder, const std::string& component) {
    const std::string asWritten = CodePageToHost(component);
    if (HostPathExists(hostFolder + "/" + asWritten)) {
        return asWritten;
    }
    // A name missing from a large folder, as a file about to be made: its few spellings are
    // asked for instead of reading every entry.
    if (IsLargeFolder(hostFolder)) {
        if (const auto spellings = Spellings(component)) {
            for (const std::string& spelling : *spellings) {
                if (std::string host = CodePageToHost(spelling);
                    HostPathExists(hostFolder + "/" + host)) {
                    return host;
                }
            }
            return asWritten;
        }
    }
    // Of several entries that differ in letter case only, the first in byte order, whatever
    // order the host reads them in; a large folder is not sorted for it.
    const std::string* match = nullptr;
    const std::vector<std::string> entries = FolderEntries(hostFolder);
    for (const std::string& entry : entries) {
        if (SameIgnoringCase(HostToCodePage(entry), component) &&
            (match == nullptr || entry < *match)) {
            match = &entry;
        }
    }
    return match == nullptr ? asWritten : *match;
}

std::string DosDevices() {
    return PrefixFolder() + "/dosdevices";
}

// The host folder of a drive letter: its link in dosdevices ("c:", or "C:" if made so).
std::string DriveFolder(char letter) {
    return DosDevices() + "/" + MatchComponent(DosDevices(), std::string{Lower(letter), ':'});
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

// A Windows path split at its root: the host folder of the drive or of the share
// ("\\server\share"), and the components below it. A path without a drive is taken
// relative to the current folder, as Windows takes it.
struct SplitPath {
    std::string hostRoot;
    std::vector<std::string> components;
};

SplitPath SplitWindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.starts_with("\\\\")) {
        std::vector<std::string> parts = OwnedComponents(std::string_view(path).substr(2), '\\');
        std::string root = DosDevices() + "/unc";
        const std::size_t rootParts = std::min<std::size_t>(parts.size(), 2);
        for (std::size_t i = 0; i < rootParts; ++i) {
            root += "/" + MatchComponent(root, parts[i]);
        }
        parts.erase(parts.begin(), parts.begin() + static_cast<std::ptrdiff_t>(rootParts));
        return {root, std::move(parts)};
    }
    if (HasDrive(path)) {
        return {DriveFolder(path[0]), OwnedComponents(std::string_view(path).substr(2), '\\')};
    }
    const std::string current = ToWindowsPath(CurrentFolder());
    if (path.starts_with("\\")) {
        // Rooted on the current drive or share.
        const std::size_t rootLength =
            HasDrive(current)
                ? 2
                : std::min(current.find('\\', current.find('\\', 2) + 1), current.size());
        return SplitWindowsPath(current.substr(0, rootLength) + path);
    }
    return SplitWindowsPath(current + "\\" + path);
}

// A host path made absolute with "." and ".." resolved through the links of the part that
// exists; the rest, not yet created, is resolved as written.
std::string ResolvedHostPath(const std::string& hostPath) {
    const std::string absolute =
        hostPath.starts_with('/') ? hostPath : CurrentFolder() + "/" + hostPath;
    std::vector<std::string> missing;
    std::string existing = absolute;
    std::string real = RealPath(existing);
    while (real.empty() && existing.size() > 1) {
        const std::size_t slash = existing.find_last_of('/');
        missing.insert(missing.begin(), existing.substr(slash + 1));
        existing = slash == 0 ? "/" : existing.substr(0, slash);
        real = RealPath(existing);
    }
    std::vector<std::string> components = OwnedComponents(real, '/');
    components.insert(components.end(), missing.begin(), missing.end());
    std::string resolved;
    for (const std::string& component : WithoutDots(components)) {
        resolved += "/" + component;
    }
    return resolved.empty() ? "/" : resolved;
}

// A folder that Windows names by a root of its own: a drive ("C:") or a share
// ("\\FileSrv\Share").
struct WindowsRoot {
    std::string hostFolder; // resolved
    std::string windowsName;
};

// Every drive of dosdevices, then every share of dosdevices/unc, drives in letter order.
std::vector<WindowsRoot> WindowsRoots() {
    std::vector<WindowsRoot> roots;
    std::vector<std::string> entries = FolderEntries(DosDevices());
    std::sort(entries.begin(), entries.end(), [](const std::string& a, const std::string& b) {
        return UpperCodePage(a[0]) < UpperCodePage(b[0]);
    });
    for (const std::string& entry : entries) {
        if (HasDrive(entry) && entry.size() == 2) {
            const std::string folder = RealPath(DosDevices() + "/" + entry);
            if (!folder.empty()) {
                roots.push_back({folder, std::string{UpperCodePage(entry[0]), ':'}});
            }
        }
    }
    const std::string unc = DosDevices() + "/unc";
    for (const std::string& server : FolderEntries(unc)) {
        for (const std::string& share : FolderEntries(unc + "/" + server)) {
            const std::string folder = RealPath(unc + "/" + server + "/" + share);
            if (!folder.empty()) {
                roots.push_back(
                    {folder, "\\\\" + HostToCodePage(server) + "\\" + HostToCodePage(share)});
            }
        }
    }
    return roots;
}

bool IsInside(const std::string& path, const std::string& folder) {
    return folder == "/" || path == folder ||
           (path.starts_with(folder) && path[folder.size()] == '/');
}

} // namespace

bool HostPathExists(const std::string& hostPath) {
    struct stat info {};
    return lstat(hostPath.c_str(), &info) == 0;
}

std::string WithoutTrailingDotsAndBlanks(std::string component) {
    component.erase(component.find_last_not_of(". ") + 1);
    return component;
}

bool VisitHostFolder(const std::string& hostFolder, bool withDotEntries,
                     const std::function<bool(HostFolderEntry&&)>& visit) {
    DIR* handle = opendir(hostFolder.c_str());
    if (handle == nullptr) {
        return false;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> folder(handle, closedir);
    if (withDotEntries && (!visit({".", DT_DIR}) || !visit({"..", DT_DIR}))) {
        return true;
    }
    while (const dirent* entry = readdir(folder.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != ".." && !visit({std::string(name), entry->d_type})) {
            break;
        }
    }
    return true;
}

std::optional<std::vector<HostFolderEntry>> ReadHostFolder(const std::string& hostFolder) {
    std::vector<HostFolderEntry> entries;
    if (!VisitHostFolder(hostFolder, false, [&](HostFolderEntry&& entry) {
            entries.push_back(std::move(entry));
            return true;
        })) {
        return std::nullopt;
    }
    return entries;
}

std::vector<std::string> FolderEntries(const std::string& hostFolder) {
    std::vector<std::string> names;
    if (auto entries = ReadHostFolder(hostFolder)) {
        for (HostFolderEntry& entry : *entries) {
            names.push_back(std::move(entry.name));
        }
    }
    return names;
}

std::vector<std::string_view> SplitComponents(std::string_view path, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(separator, start), path.size());
        if (end > start) {
            parts.push_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

std::string ToHostPathAsWritten(const std::string& windowsPath) {
    // The last answer, with the prefix it was made in; a path off the drives is matched
    // against the host's folders each time and never reused.
    struct Mapping {
        std::string windowsPath;
        std::string prefix;
        std::string hostPath;
        bool reusable = false;
    };
    thread_local Mapping last;
    if (!HasDrive(windowsPath)) {
        last = {windowsPath, {}, ToHostPath(windowsPath), false};
        return last.hostPath;
    }
    if (last.reusable && last.windowsPath == windowsPath && IsPrefixFolder(last.prefix)) {
        return last.hostPath;
    }
    const std::string prefix = PrefixFolder();
    std::string path = windowsPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    std::string host = prefix + "/dosdevices/" + std::string{Lower(path[0]), ':'};
    for (const std::string& component :
         WindowsComponents(OwnedComponents(std::string_view(path).substr(2), '\\'))) {
        host += "/" + CodePageToHost(component);
    }
    last = {windowsPath, prefix, std::move(host), true};
    return last.hostPath;
}

std::string ToHostPath(const std::string& windowsPath) {
    const SplitPath split = SplitWindowsPath(windowsPath);
    const std::vector<std::string> components = WindowsComponents(split.components);
    // The common case first: a path that exists as written needs no matching, which would
    // cost a query per component.
    std::string host = split.hostRoot;
    for (const std::string& component : components) {
        host += "/" + CodePageToHost(component);
    }
    if (components.empty() || HostPathExists(host)) {
        return host;
    }
    host = split.hostRoot;
    for (const std::string& component : components) {
        host += "/" + MatchComponent(host, component);
    }
    return host;
}

std::string ToWindowsPath(const std::string& hostPath) {
    const std::string resolved = ResolvedHostPath(hostPath);
    // The root that holds the path most closely; on a tie the first (drives before shares).
    const WindowsRoot* best = nullptr;
    const std::vector<WindowsRoot> roots = WindowsRoots();
    for (const WindowsRoot& root : roots) {
        if (IsInside(resolved, root.hostFolder) &&
            (best == nullptr || root.hostFolder.size() > best->hostFolder.size())) {
            best = &root;
        }
    }
    const bool rootIsHostRoot = best == nullptr || best->hostFolder == "/";
    std::string rest =
        HostToCodePage(rootIsHostRoot ? resolved : resolved.substr(best->hostFolder.size()));
    std::replace(rest.begin(), rest.end(), '/', '\\');
    const std::string root = best == nullptr ? "Z:" : best->windowsName;
    if (rest == "\\") {
        rest.clear();
    }
    return HasDrive(root) && rest.empty() ? root + "\\" : root + rest;
}

} // namespace platform::posix
