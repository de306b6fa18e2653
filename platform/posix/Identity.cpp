// The hosted identity: the user's name and the computer's, from the environment or the host.
#include "ledgerline/platform/posix/CodePage.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace platform::posix {
namespace {

std::string LoginName() {
    if (const passwd* entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
        return HostToCodePage(entry->pw_name);
    }
    return "user";
}

} // namespace

std::string HostUserName() {
    if (const char* name = std::getenv("LDGR_USERNAME"); name != nullptr) {
        return HostToCodePage(name);
    }
    return LoginName();
}

std::string ProfileUserName() {
    const std::string name = HostUserName();
    return name.find_first_not_of(' ') == std::string::npos ? LoginName() : name;
}

std::string HostedComputerName() {
    if (const char* name = std::getenv("LDGR_COMPUTERNAME"); name != nullptr) {
        return HostToCodePage(name);
    }
    std::array<char, 256> host{};
    if (gethostname(host.data(), host.size() - 1) != 0) {
        return {};
    }
    // A Windows computer name is one label, so a host known by a dotted name goes by its first.
    std::string name(host.data());
    name.erase(std::min(name.find('.'), name.size()));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return HostToCodePage(name);
}

} // namespace platform::posix
