// The platform doubles put in place for a configuration test, with the environment record reset.
#pragma once

#include "support/PlatformDoubles.h"

namespace ldgr::test {

// Puts the three doubles in place for one test and resets the environment record, with the
// product name as start-up sets it.
class ConfigWorld {
public:
    ConfigWorld();
    ~ConfigWorld();
    ConfigWorld(const ConfigWorld&) = delete;
    ConfigWorld& operator=(const ConfigWorld&) = delete;

    MemoryFiles files;
    RecordingDesktop desktop;
    MemoryRegistry registry;

private:
    platform::ScopedServices m_services;
};

} // namespace ldgr::test
