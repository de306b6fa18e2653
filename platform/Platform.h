// The one accessor through which core code reaches the operating system.
#pragma once

#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/FileSystem.h"
#include "platform/Network.h"
#include "platform/Registry.h"
#include "platform/SystemInfo.h"

namespace platform {

// The services in use. Each points at the build's real implementation unless a test has
// put another in its place.
struct Services {
    FileSystem* files = nullptr;
    Registry* registry = nullptr;
    Desktop* desktop = nullptr;
    SystemInfo* system = nullptr;
    Network* network = nullptr;
    Clock* clock = nullptr;
};

FileSystem& Files();
Registry& Reg();
Desktop& Ui();
SystemInfo& Sys();
Network& Net();
Clock& Time();

// Called once by the program entry before anything else: records the program's identity
// from its command line and prepares the platform (on the hosted build, the prefix).
void StartProgram(int argc, char** argv);

// The build's real implementations.
Services& RealServices();

// Replaces some services for as long as the object lives (tests: fault injection, scripted
// answers). Members left null keep the service in use.
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

} // namespace platform
