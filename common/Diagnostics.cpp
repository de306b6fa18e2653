// The debug log, the one error report of the system, and the service-log probe.
#include "ledgerline/common/Diagnostics.h"

#include "ledgerline/common/Environment.h"
#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/platform/Platform.h"

namespace BCommon {

void WriteDebugLog(const std::string& message) {
    // Without a local folder there is no log: the name alone would land in the current folder.
    if (!Env().m_bDebugLog || Env().m_sLocalUserPath.empty()) {
        return;
    }
    // A line that cannot be written is lost, whatever the reason: nothing reads the outcome.
    IgnoreFailures([&] {
        const std::string name = platform::Ui().ExeName();
        auto log = platform::Files().OpenText(Env().m_sLocalUserPath + name + ".txt",
                                              platform::OpenMode::Append);
        log->Write(name + ": " + message + "\r\n");
        log->Close();
    });
}

std::unique_ptr<platform::TextFile> OpenRewrite(const std::string& sPath) {
    auto file = platform::Files().OpenText(sPath, platform::OpenMode::Replace);
    if (file->WritesInPlace()) {
        WriteDebugLog("rewriting " + sPath + " in place: its folder lets no new file replace it");
    }
    return file;
}

std::string GetErrorText(std::int32_t number, const std::string& description,
                         const std::string& procedureName) {
    return "Unexpected error " + std::to_string(number) + " in procedure '" + procedureName +
           "':\r" + description;
}

void ReportError(const std::string& procedureName) {
    const ldgr::Error error = ldgr::CurrentError();
    const std::string prompt = GetErrorText(error.Number(), error.Description(), procedureName) +
                               "\r\rPlease contact us at\r" + Env().m_sSupportPhone +
                               " with the above information.";
    platform::Ui().ShowMessageBox(Env().m_sProductName, prompt,
                                  platform::kOkOnly + platform::kExclamation);
}

bool IsServiceLogLocked() {
    bool locked = false;
    // Every failing step is skipped; only a sharing or lock refusal says "locked".
    SkipFailingStep([&] {
        const std::string path = platform::Ui().AppPath();
        const std::string folder = path.ends_with('\\') ? path : path + "\\";
        // Opened for reading, so a missing log stays missing (it counts as not locked) and
        // the program folder is never written; exclusive access is refused all the same
        // while another process has the file open in any way.
        try {
            platform::Files()
                .OpenText(folder + "ldgrsrvc.txt", platform::OpenMode::Input,
                          platform::ShareMode::Exclusive)
                ->Close();
        } catch (const ldgr::Error& e) {
            if (ldgr::IsResourceLimitCurrent()) {
                throw;
            }
            locked = e.IsSharingViolation();
        }
    });
    Env().m_bServiceLogLocked = locked;
    return locked;
}

} // namespace BCommon
