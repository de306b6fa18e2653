// The hosted build's start: the identity from argv[0] and the prefix.
#include "platform/posix/Hosted.h"

namespace platform {

void StartProgram(int argc, char** argv) {
    posix::RefuseUnreportableNames();
    posix::EnsureSkeleton();
    posix::StartDesktop(argc > 0 && argv[0] != nullptr ? argv[0] : "ldgrmake");
}

} // namespace platform
