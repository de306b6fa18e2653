// ldgrmake, the "Log Offline Job" program: start-up, then one offline job record in the
// user's job folder.
#include "GUI/OfflineJob.h"
#include "ledgerline/common/DateAndFiles.h"
#include "ledgerline/common/Environment.h"
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/Platform.h"
#include "ledgerline/startup/InitEnvironment.h"

namespace {

void LogOfflineJob() {
    if (!BCommon::InitEnvironment()) {
        return;
    }
    const BCommon::EnvironmentRecord& env = BCommon::Env();
    std::string now = BCommon::NowText();
    OfflineJob::LogOfflineJob(env.m_sUserPath, env.m_sMachineName, env.m_sUserName,
                              BCommon::GetDateText(now));
}

// What nothing else trapped ends the program the way its runtime did: a box naming the
// error, and the error number as exit status where it fits one.
int ShowRunTimeError() {
    const ldgr::Error error = ldgr::CurrentError();
    platform::Ui().ShowMessageBox(platform::Ui().Title(),
                                  "Run-time error '" + std::to_string(error.Number()) + "':\r\r" +
                                      error.Description(),
                                  platform::kOkOnly + platform::kCritical);
    return error.Number() >= 1 && error.Number() <= 255 ? error.Number() : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        platform::StartProgram(argc, argv);
        LogOfflineJob();
        return 0;
    } catch (...) {
        return ShowRunTimeError();
    }
}
