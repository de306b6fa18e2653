// The Windows build's start, and its real file system service.
#include "platform/win32/Win32.h"

namespace platform {

// The program's identity comes from its module file, not from the command line. Probes of
// drives without a medium fail quietly instead of asking the user to insert a disk.
void StartProgram(int, char**) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

// Kept apart from the other services: a library that reads files (KorvaneIni.dll) links this
// and the file system alone, which need nothing beyond KERNEL32.
FileSystem& RealFiles() {
    return win32::WindowsFileSystem();
}

} // namespace platform
