// The platform doubles put in place for a configuration test, with the environment record reset.
#pragma once

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"
#include "support/PlatformDoubles.h"

namespace ldgr::test {

// The three doubles for one test; the environment record reset, with start-up's product name.
class ConfigWorld {
public:
    ConfigWorld() {
        BCommon::ResetEnvironment();
        BCommon::Env().m_sProductName = "Ledgerline";
        KorvaneIni::ForgetParsedFiles();
    }
    ~ConfigWorld() {
        KorvaneIni::ForgetParsedFiles();
        BCommon::ResetEnvironment();
    }
    ConfigWorld(const ConfigWorld&) = delete;
    ConfigWorld& operator=(const ConfigWorld&) = delete;

    MemoryFiles files;
    RecordingDesktop desktop;
    MemoryRegistry registry;

private:
    platform::ScopedServices m_services{
        {.files = &files, .registry = &registry, .desktop = &desktop}};
};

} // namespace ldgr::test
