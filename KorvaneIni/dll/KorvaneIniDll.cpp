// KorvaneIni.dll: the INI library under the exported names and the calling convention that the
// suite's programs bind it by at run time (Windows build only).
#include "ledgerline/KorvaneIni/KorvaneIni.h"

// The C header the DLL's users compile against, here to check the definitions against it.
#define KORVANEINI_IMPORT
#include "KorvaneIni.h"

// Nothing may leave an export as an exception: its callers are programs of other languages
// and runtimes. A failure reads as the contract's own "nothing": no handle, an empty copy.
extern "C" {

int KORVANEINI_CALL OpenIni(const char* sPath) {
    try {
        return KorvaneIni::OpenIni(sPath);
    } catch (...) {
        return 0;
    }
}

int KORVANEINI_CALL GetIniString(const char* sSection, const char* sKey, const char* sDefault,
                                 char* sBuffer, int lSize, int hIniFile) {
    try {
        return KorvaneIni::GetIniString(sSection, sKey, sDefault, sBuffer, lSize, hIniFile);
    } catch (...) {
        if (sBuffer != nullptr && lSize > 0) {
            sBuffer[0] = '\0';
        }
        return 0;
    }
}

int KORVANEINI_CALL CloseIni(int hIniFile) {
    try {
        return KorvaneIni::CloseIni(hIniFile);
    } catch (...) {
        return 0;
    }
}

} // extern "C"
