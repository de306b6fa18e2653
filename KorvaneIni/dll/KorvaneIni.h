/* KorvaneIni.dll's C interface: its three functions, their pointer types and exported names. */
#ifndef KORVANEINI_H
#define KORVANEINI_H

/**
 * @file
 * KorvaneIni.dll reads INI files: open a file, read values by section and key, close it.
 *
 * Link with the import library of your compiler (libKorvaneIni.dll.a for MinGW,
 * KorvaneIni.lib for Microsoft's linker), or bind at run time: LoadLibraryA("KorvaneIni.dll"),
 * then GetProcAddress with the names KORVANEINI_OPENINI_NAME, KORVANEINI_GETINISTRING_NAME
 * and KORVANEINI_CLOSEINI_NAME, cast to the pointer types below.
 *
 * Every integer is 32 bits wide (int is, on every Windows compiler); texts are bytes in the
 * system code page. No function raises an exception or aborts its caller.
 */

/** The functions' calling convention: stdcall on 32-bit x86, the platform's own elsewhere. */
#if defined(_M_IX86) || defined(__i386__)
#define KORVANEINI_CALL __stdcall
#else
#define KORVANEINI_CALL
#endif

/** Declares the functions as imported from the DLL (the DLL's own build defines it empty). */
#ifndef KORVANEINI_IMPORT
#define KORVANEINI_IMPORT __declspec(dllimport)
#endif

/** The names the DLL exports the functions under, the same on every architecture. */
#define KORVANEINI_OPENINI_NAME "_OpenIni@4"
#define KORVANEINI_GETINISTRING_NAME "_GetIniString@24"
#define KORVANEINI_CLOSEINI_NAME "_CloseIni@4"

#ifdef __cplusplus
extern "C" {
#endif

/**
 * Opens an INI file for reading.
 * @param sPath the file's path.
 * @return a handle for GetIniString and CloseIni, or 0 when the file cannot be opened (0 is
 *         never a valid handle; make no other call with it).
 */
KORVANEINI_IMPORT int KORVANEINI_CALL OpenIni(const char* sPath);

/**
 * Copies the value of a key into a buffer.
 * Section and key names match ignoring letter case and the blanks around them. The value is
 * cut to lSize - 1 characters and terminated; nothing is written at sBuffer[lSize] or beyond,
 * and nothing at all when lSize is 0 or less.
 * @param sSection the section's name.
 * @param sKey the key's name.
 * @param sDefault the text copied instead when the section or the key is absent.
 * @param sBuffer the buffer that receives the text.
 * @param lSize the buffer's size in characters, the terminator included.
 * @param hIniFile a handle from OpenIni; a closed or 0 handle reads as an empty file.
 * @return the count of characters copied, without the terminator (never an error code).
 */
KORVANEINI_IMPORT int KORVANEINI_CALL GetIniString(const char* sSection, const char* sKey,
                                                   const char* sDefault, char* sBuffer, int lSize,
                                                   int hIniFile);

/**
 * Releases a handle from OpenIni; call it once for each handle.
 * @param hIniFile the handle.
 * @return a value without meaning.
 */
KORVANEINI_IMPORT int KORVANEINI_CALL CloseIni(int hIniFile);

/** OpenIni's type, for a pointer bound at run time. */
typedef int(KORVANEINI_CALL* OpenIniProc)(const char* sPath);
/** GetIniString's type, for a pointer bound at run time. */
typedef int(KORVANEINI_CALL* GetIniStringProc)(const char* sSection, const char* sKey,
                                               const char* sDefault, char* sBuffer, int lSize,
                                               int hIniFile);
/** CloseIni's type, for a pointer bound at run time. */
typedef int(KORVANEINI_CALL* CloseIniProc)(int hIniFile);

#ifdef __cplusplus
}
#endif

#endif /* KORVANEINI_H */
