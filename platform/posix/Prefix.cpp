// The hosted prefix: its skeleton, and the mapping between Windows paths and host paths.
#include "platform/posix/Hosted.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <pwd.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {
namespace {

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string LoginName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    return "user";
}

std::string HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return "/tmp";
}

bool Exists(const std::string& hostPath) {
    struct stat info {};
    return lstat(hostPath.c_str(), &info) == 0;
}

void MakeFolderIfMissing(const std::string& hostPath) {
    if (!Exists(hostPath)) {
        mkdir(hostPath.c_str(), 0777);
    }
}

// The prefix may name a folder whose parents do not exist yet; they are made as well.
void MakeFolderAndParentsIfMissing(const std::string& hostPath) {
    for (std::size_t slash = hostPath.find('/', 1); slash != std::string::npos;
         slash = hostPath.find('/', slash + 1)) {
        MakeFolderIfMissing(hostPath.substr(0, slash));
    }
    MakeFolderIfMissing(hostPath);
}

void MakeLinkIfMissing(const std::string& target, const std::string& hostPath) {
    if (!Exists(hostPath)) {
        symlink(target.c_str(), hostPath.c_str());
    }
}

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

std::vector<std::string> SplitComponents(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// The host folder of a drive letter ("c:" in dosdevices).
std::string DriveFolder(char letter) {
    return PrefixFolder() + "/dosdevices/" + std::string(1, Lower(letter)) + ":";
}

// The existing entry of a folder that a component names, letter case ignored.
std::string MatchComponent(const std::string& hostFolder, const std::string& component) {
    if (Exists(hostFolder + "/" + component)) {
        return component;
    }
    std::vector<std::string> entries = FolderEntries(hostFolder);
    std::sort(entries.begin(), entries.end());
    for (const std::string& entry : entries) {
        if (EqualsIgnoreCase(entry, component)) {
            return entry;
        }
    }
    return component;
}

struct SplitPath {
    std::string hostRoot;
    std::vector<std::string> components;
};

SplitPath SplitWindowsPath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    if (path.starts_with("\\\\")) {
        return {PrefixFolder() + "/dosdevices/unc",
                SplitComponents(std::string_view(path).substr(2))};
    }
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        return {DriveFolder(path[0]), SplitComponents(std::string_view(path).substr(2))};
    }
    if (path.starts_with("\\")) {
        const std::string current = ToWindowsPath(CurrentFolder());
        return {DriveFolder(current[0]), SplitComponents(path)};
    }
    return {CurrentFolder(), SplitComponents(path)};
}

} // namespace

std::string PrefixFolder() {
    if (const char* prefix = std::getenv("LDGR_PREFIX"); prefix != nullptr && *prefix != '\0') {
        return prefix;
    }
    return HomeFolder() + "/.ledgerline";
}

std::string HostUserName() {
    if (const char* name = std::getenv("LDGR_USERNAME"); name != nullptr) {
        return name;
    }
    return LoginName();
}

std::string ProfileUserName() {
    const std::string name = HostUserName();
    return name.find_first_not_of(' ') == std::string::npos ? LoginName() : name;
}

void EnsureSkeleton() {
    const std::string prefix = PrefixFolder();
    MakeFolderAndParentsIfMissing(prefix);
    MakeFolderIfMissing(prefix + "/dosdevices");
    MakeFolderIfMissing(prefix + "/drive_c");
    MakeLinkIfMissing("../drive_c", prefix + "/dosdevices/c:");
    MakeLinkIfMissing("/", prefix + "/dosdevices/z:");
    MakeFolderIfMissing(prefix + "/drive_c/windows");
    MakeFolderIfMissing(prefix + "/drive_c/windows/system32");
    MakeFolderIfMissing(prefix + "/drive_c/users");
    MakeFolderIfMissing(prefix + "/drive_c/users/" + ProfileUserName());
}

std::vector<std::string> FolderEntries(const std::string& hostFolder) {
    std::vector<std::string> names;
    DIR* folder = opendir(hostFolder.c_str());
    if (folder == nullptr) {
        return names;
    }
    while (const dirent* entry = readdir(folder)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    closedir(folder);
    return names;
}

std::string ToHostPath(const std::string& windowsPath) {
    SplitPath split = SplitWindowsPath(windowsPath);
    std::vector<std::string> kept;
    for (const std::string& component : split.components) {
        if (component == ".") {
            continue;
        }
        if (component == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
            continue;
        }
        kept.push_back(component);
    }
    std::string host = split.hostRoot;
    for (const std::string& component : kept) {
        host += "/" + MatchComponent(host, component);
    }
    return host;
}

std::string ToWindowsPath(const std::string& hostPath) {
    std::string real = RealPath(hostPath);
    if (real.empty()) {
        real = hostPath;
    }
    std::string bestRoot;
    char bestLetter = 'Z';
    for (const std::string& entry : FolderEntries(PrefixFolder() + "/dosdevices")) {
        if (entry.size() != 2 || entry[1] != ':') {
            continue;
        }
        std::string root = RealPath(PrefixFolder() + "/dosdevices/" + entry);
        if (root.empty()) {
            continue;
        }
        const bool inside =
            real == root || root == "/" || (real.starts_with(root) && real[root.size()] == '/');
        const bool longer = root.size() > bestRoot.size() ||
                            (root.size() == bestRoot.size() && Upper(entry[0]) < bestLetter);
        if (inside && (bestRoot.empty() || longer)) {
            bestRoot = root;
            bestLetter = Upper(entry[0]);
        }
    }
    std::string rest = bestRoot.empty() || bestRoot == "/" ? real : real.substr(bestRoot.size());
    std::replace(rest.begin(), rest.end(), '/', '\\');
    if (!rest.starts_with("\\")) {
        rest.insert(rest.begin(), '\\');
    }
    return std::string(1, bestLetter) + ":" + rest;
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    // match[i][j]: name from i matches pattern from j.
    const std::size_t n = name.size();
    const std::size_t m = pattern.size();
    std::vector<std::vector<char>> match(n + 1, std::vector<char>(m + 1, 0));
    match[n][m] = 1;
    for (std::size_t j = m; j-- > 0;) {
        for (std::size_t i = n + 1; i-- > 0;) {
            const char p = pattern[j];
            const bool atEnd = i == n;
            bool ok = false;
            if (p == '*') {
                ok = match[i][j + 1] || (!atEnd && match[i + 1][j]);
            } else if (p == '?') {
                // One character; nothing at the end of the name or before its dot.
                ok = (!atEnd && match[i + 1][j + 1]) ||
                     ((atEnd || name[i] == '.') && match[i][j + 1]);
            } else if (p == '.') {
                // A dot also matches the end of a name without extension when only wildcards
                // follow it ("*.*", "name.*").
                const bool onlyWildcards =
                    pattern.find_first_not_of("*?.", j + 1) == std::string::npos;
                ok = (!atEnd && name[i] == '.' && match[i + 1][j + 1]) ||
                     (atEnd && onlyWildcards && match[i][j + 1]);
            } else {
                ok = !atEnd && Upper(name[i]) == Upper(p) && match[i + 1][j + 1];
            }
            match[i][j] = ok ? 1 : 0;
        }
    }
    return match[0][0] != 0;
}

} // namespace platform::posix
