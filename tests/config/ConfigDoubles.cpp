// The platform doubles put in place for a configuration test, with the environment record reset.
#include "config/ConfigDoubles.h"

#include "ledgerline/KorvaneIni/KorvaneIni.h"
#include "ledgerline/common/Environment.h"

namespace ldgr::test {

ConfigWorld::ConfigWorld()
    : m_services(platform::Services{&files, &registry, &desktop, nullptr, nullptr, nullptr}) {
    BCommon::ResetEnvironment();
    BCommon::Env().m_sProductName = "Ledgerline";
    KorvaneIni::ForgetParsedFiles();
}

ConfigWorld::~ConfigWorld() {
    KorvaneIni::ForgetParsedFiles();
    BCommon::ResetEnvironment();
}

} // namespace ldgr::test
