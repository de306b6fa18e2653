// The Windows build's services and its start.
#include "platform/win32/Win32.h"

namespace platform {

Services& RealServices() {
    static Services real{&win32::WindowsFileSystem(), &win32::WindowsRegistry(),
                         &win32::WindowsDesktop(),    &win32::WindowsSystemInfo(),
                         &win32::WindowsNetwork(),    &win32::WindowsClock()};
    return real;
}

// The program's identity comes from its module file, not from the command line. Probes of
// drives without a medium fail quietly instead of asking the user to insert a disk.
void StartProgram(int, char**) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

} // namespace platform
