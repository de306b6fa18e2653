// Fuzz target: any bytes as a registry file, every key walked and some values looked up.
#include "ledgerline/platform/posix/RegFile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using platform::RootKey;
using platform::posix::RegFile;

constexpr std::size_t kMaxKeysWalked = 4096; // bounds the walk of a file of very many keys

void WalkRoot(const RegFile& file, RootKey root) {
    std::vector<std::string> pending = {""};
    for (std::size_t walked = 0; !pending.empty() && walked < kMaxKeysWalked; ++walked) {
        const std::string key = std::move(pending.back());
        pending.pop_back();
        for (const std::string_view name : {"", "RemotePath", "a", "ConfigFile"}) {
            static_cast<void>(file.FindValue(root, key, name));
        }
        for (const std::string& name : file.SubKeyNames(root, key)) {
            pending.push_back(key.empty() ? name : key + "\\" + name);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RegFile file =
        RegFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const RootKey root : {RootKey::ClassesRoot, RootKey::CurrentUser, RootKey::LocalMachine,
                               RootKey::Users, RootKey::CurrentConfig}) {
        WalkRoot(file, root);
    }
    file.HasKey(RootKey::LocalMachine, "\\A\\\\B\\");
    return 0;
}
