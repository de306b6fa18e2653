// The process-wide accessor to the platform services and the test override.
#include "platform/Platform.h"

namespace platform {
namespace {

Services& Current() {
    static Services current = RealServices();
    return current;
}

template <class T> T* Keep(T* replacement, T* current) {
    return replacement != nullptr ? replacement : current;
}

} // namespace

FileSystem& Files() {
    return *Current().files;
}
Registry& Reg() {
    return *Current().registry;
}
Desktop& Ui() {
    return *Current().desktop;
}
SystemInfo& Sys() {
    return *Current().system;
}
Network& Net() {
    return *Current().network;
}
Clock& Time() {
    return *Current().clock;
}

ScopedServices::ScopedServices(const Services& replacement) : m_previous(Current()) {
    Services& current = Current();
    current.files = Keep(replacement.files, current.files);
    current.registry = Keep(replacement.registry, current.registry);
    current.desktop = Keep(replacement.desktop, current.desktop);
    current.system = Keep(replacement.system, current.system);
    current.network = Keep(replacement.network, current.network);
    current.clock = Keep(replacement.clock, current.clock);
}

ScopedServices::~ScopedServices() {
    Current() = m_previous;
}

} // namespace platform
