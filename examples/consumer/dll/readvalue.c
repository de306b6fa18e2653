/* Prints one value of an INI file, read through KorvaneIni.dll: readvalue FILE SECTION KEY. */
#include "KorvaneIni.h"

#include <stdio.h>
#include <string.h>

/* The default for an absent key: a text no real value is, so getting it back means absent. */
static const char kMissing[] = "!2@3#4$5%6^7&8*9(0)[-]";

int main(int argc, char** argv) {
    char value[2048];
    int hIniFile;
    int count;

    if (argc != 4) {
        fprintf(stderr, "usage: readvalue FILE SECTION KEY\n");
        return 2;
    }
    hIniFile = OpenIni(argv[1]);
    if (hIniFile == 0) {
        fprintf(stderr, "readvalue: cannot open %s\n", argv[1]);
        return 1;
    }
    count = GetIniString(argv[2], argv[3], kMissing, value, (int)sizeof value, hIniFile);
    CloseIni(hIniFile);
    if (strcmp(value, kMissing) == 0) {
        fprintf(stderr, "readvalue: %s has no key %s in section %s\n", argv[1], argv[3], argv[2]);
        return 1;
    }
    printf("%.*s\n", count, value);
    return 0;
}
