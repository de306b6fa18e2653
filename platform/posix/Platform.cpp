// The hosted build's start: the identity from argv[0] and the prefix.
#include "ledgerline/platform/posix/Hosted.h"

#include <csignal>

namespace platform {

void detail::PrepareProgram(int argc, char** argv) {
    // A write past the file-size limit would end the process by signal, halfway through a
    // file; ignored, the write fails with EFBIG and is raised as a full disk (61), as Windows
    // reports a write it cannot make.
    std::signal(SIGXFSZ, SIG_IGN);
    const char* programPath = argc > 0 && argv[0] != nullptr ? argv[0] : "ldgrmake";
    posix::RefuseUnreportableNames(programPath);
    posix::EnsureSkeleton();
    posix::StartDesktop(programPath);
}

} // namespace platform
