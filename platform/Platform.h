/// @file
/// The one accessor through which core code reaches the operating system.
///
/// How each service tells a failure, in one place:
/// - FileSystem raises ldgr::Error with the classic number (53, 58, 70, 75, 76...), as the
///   runtime's file statements did; a search that finds nothing is no failure (nothing, or an
///   empty list).
/// - Registry answers with a status (key not opened, value not read), never an error: the
///   registry calls report a code, which the readers above turn into their own rules.
/// - SystemInfo and Network answer nothing (an empty optional) where the system's query
///   fails, as their callers turn a failed query into a fallback text.
/// - Desktop and Clock do not fail: a box is always shown (or scripted), the clock always
///   tells a time and a locale.
#pragma once

#include "ledgerline/platform/Clock.h"
#include "ledgerline/platform/Desktop.h"
#include "ledgerline/platform/FileSystem.h"
#include "ledgerline/platform/Network.h"
#include "ledgerline/platform/Registry.h"
#include "ledgerline/platform/SystemInfo.h"

/// The platform layer: the services through which the library reaches the operating system,
/// and the build's real implementations of them.
namespace platform {

/// A set of services, one pointer each; null where the set has none.
struct Services {
    FileSystem* files = nullptr;  ///< files and folders
    Registry* registry = nullptr; ///< registry values
    Desktop* desktop = nullptr;   ///< identity, title, message boxes
    SystemInfo* system = nullptr; ///< system folders, version, user and computer names
    Network* network = nullptr;   ///< connected drives, shares, sockets
    Clock* clock = nullptr;       ///< local time and date settings
};

/// @{
/// The build's real services. Each is defined with its own implementation, so a program links
/// only the services it reaches (the INI library only the file service).
FileSystem& RealFiles();
Registry& RealRegistry();
Desktop& RealDesktop();
SystemInfo& RealSystem();
Network& RealNetwork();
Clock& RealClock();
/// @}

namespace detail {

/// The services a test has put in place of the real ones; null where none is.
Services& Replacements();

template <class Service> Service& InUse(Service* replacement, Service& (*real)()) {
    return replacement != nullptr ? *replacement : real();
}

} // namespace detail

/// @{
/// The services in use: the build's real ones unless a test has put others in their place.
inline FileSystem& Files() {
    return detail::InUse(detail::Replacements().files, RealFiles);
}
inline Registry& Reg() {
    return detail::InUse(detail::Replacements().registry, RealRegistry);
}
inline Desktop& Ui() {
    return detail::InUse(detail::Replacements().desktop, RealDesktop);
}
inline SystemInfo& Sys() {
    return detail::InUse(detail::Replacements().system, RealSystem);
}
inline Network& Net() {
    return detail::InUse(detail::Replacements().network, RealNetwork);
}
inline Clock& Time() {
    return detail::InUse(detail::Replacements().clock, RealClock);
}
/// @}

/// Called once by the program entry before anything else: records the program's identity
/// from its command line and prepares the platform (on the hosted build, the prefix).
void StartProgram(int argc, char** argv);
/// Whether StartProgram has run in this process.
bool ProgramStarted();

namespace detail {
/// The build's own part of StartProgram.
void PrepareProgram(int argc, char** argv);
} // namespace detail

/// Replaces some services for as long as the object lives (tests: fault injection, scripted
/// answers). Members left null keep the service in use.
class ScopedServices {
public:
    /// Puts the services replacement names in place of those in use.
    explicit ScopedServices(const Services& replacement);
    /// Puts the services in use before back.
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

} // namespace platform
