// ldgrgroups: reads a configuration file with the object model and lists its printer groups,
// each with its categories and their predefined values.
#include <cstdio>
#include <ledgerline/config/model/CConfigOptions.h>
#include <ledgerline/platform/Platform.h>

int main(int argc, char** argv) {
    platform::StartProgram(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ldgrgroups <configuration file>\n");
        return 2;
    }
    CConfigOptions options;
    if (!options.ReadIniFile(platform::Ui().CommandLinePath(argv[1]))) {
        return 1;
    }
    std::printf("version %d, %d printer groups\n", options.Version,
                options.PrinterGroups().Count());
    for (const auto& group : options.PrinterGroups()) {
        std::printf("%s\n", group->GroupName.c_str());
        for (const auto& category : group->Categories()) {
            std::printf("  %s: %d predefined values\n", category->CategoryName.c_str(),
                        category->PreDefinedValues().Count());
        }
    }
    return 0;
}
