// The services tests put in place of the real ones, the scope that does it, and the program's
// start.
#include "ledgerline/platform/Platform.h"

#include <atomic>

namespace platform {
namespace {

std::atomic<bool> started{false};

template <class T> T* Keep(T* replacement, T* current) {
    return replacement != nullptr ? replacement : current;
}

} // namespace

void StartProgram(int argc, char** argv) {
    detail::PrepareProgram(argc, argv);
    started = true;
}

bool ProgramStarted() {
    return started;
}

Services& detail::Replacements() {
    static Services replacements;
    return replacements;
}

ScopedServices::ScopedServices(const Services& replacement) : m_previous(detail::Replacements()) {
    Services& current = detail::Replacements();
    current.files = Keep(replacement.files, current.files);
    current.registry = Keep(replacement.registry, current.registry);
    current.desktop = Keep(replacement.desktop, current.desktop);
    current.system = Keep(replacement.system, current.system);
    current.network = Keep(replacement.network, current.network);
    current.clock = Keep(replacement.clock, current.clock);
}

ScopedServices::~ScopedServices() {
    detail::Replacements() = m_previous;
}

} // namespace platform
