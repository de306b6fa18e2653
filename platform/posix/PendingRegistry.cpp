// Placeholder for the hosted registry until its real implementation lands (removed then).
#include "platform/posix/Hosted.h"

namespace platform::posix {
namespace {

class PendingRegistry final : public Registry {
public:
    RegistryValue ReadValue(RootKey, const std::string&, const std::string&, RegistryAccess,
                            std::size_t) override {
        return {};
    }
};

} // namespace

Registry& HostedRegistry() {
    static PendingRegistry registry;
    return registry;
}

} // namespace platform::posix
