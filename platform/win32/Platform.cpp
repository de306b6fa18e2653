// The Windows build's start.
#include "ledgerline/platform/win32/Win32.h"

namespace platform {

// The program's identity comes from its module file, not from the command line. Probes of
// drives without a medium fail quietly instead of asking the user to insert a disk.
void detail::PrepareProgram(int, char**) {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
}

} // namespace platform
