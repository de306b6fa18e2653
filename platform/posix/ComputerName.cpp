// The hosted computer's name, shared by the identity queries and the share lookups.
#include "platform/posix/CodePage.h"
#include "platform/posix/Hosted.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <unistd.h>

namespace platform::posix {

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
