// ldgrenv: a program of the suite that runs the start-up routine and prints what it found.
#include <cstdio>
#include <ledgerline/Version.h>
#include <ledgerline/common/Environment.h>
#include <ledgerline/platform/Platform.h>
#include <ledgerline/startup/InitEnvironment.h>
#include <string>

namespace {

void Show(const char* name, const std::string& value) {
    std::printf("%-20s %s\n", name, value.c_str());
}

} // namespace

int main(int argc, char** argv) {
    platform::StartProgram(argc, argv);
    if (!BCommon::InitEnvironment()) {
        return 1;
    }
    const BCommon::EnvironmentRecord& env = BCommon::Env();
    Show("library", LEDGERLINE_VERSION_STRING);
    Show("m_sProductName", env.m_sProductName);
    Show("m_sMachineName", env.m_sMachineName);
    Show("m_sUserName", env.m_sUserName);
    Show("m_sSharedConfigFile", env.m_sSharedConfigFile);
    Show("m_sconfigfile", env.m_sconfigfile);
    Show("m_sDataPath", env.m_sDataPath);
    Show("m_sUserPath", env.m_sUserPath);
    Show("m_sMachinePath", env.m_sMachinePath);
    Show("m_sLoggingMachine", env.m_sLoggingMachine);
    Show("m_sLoggingGroups", env.m_sLoggingGroups);
    return 0;
}
