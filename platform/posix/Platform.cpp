// The hosted build's services and its start: the identity from argv[0] and the prefix.
#include "platform/posix/Hosted.h"

namespace platform {

Services& RealServices() {
    static Services real{&posix::HostedFileSystem(), &posix::HostedRegistry(),
                         &posix::HostedDesktop(),    &posix::HostedSystemInfo(),
                         &posix::HostedNetwork(),    &posix::HostedClock()};
    return real;
}

void StartProgram(int argc, char** argv) {
    posix::RefuseUnreportableNames();
    posix::EnsureSkeleton();
    posix::StartDesktop(argc > 0 && argv[0] != nullptr ? argv[0] : "ldgrmake");
}

} // namespace platform
