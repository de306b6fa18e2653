// The hosted build's start: the identity from argv[0] and the prefix.
#include "platform/posix/Hosted.h"

namespace platform {

void StartProgram(int argc, char** argv) {
    const char* programPath = argc > 0 && argv[0] != nullptr ? argv[0] : "ldgrmake";
    posix::RefuseUnreportableNames(programPath);
    posix::EnsureSkeleton();
    posix::StartDesktop(programPath);
}

} // namespace platform
