// Hosted-only: Windows paths mapped to host paths through the prefix, and back.
#include "ledgerline/platform/Error.h"
#include "ledgerline/platform/posix/Hosted.h"
#include "support/ErrorOf.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/Unprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using platform::posix::ToHostPath;
using platform::posix::ToWindowsPath;

// The arranged world: C: holds Data\Machines\PC1, D: is a host folder holding Jobs\Anna, the
// share \\FileSrv\Share is a link to a host folder, and the current folder is D:\Jobs.
class PathMapping : public ldgr::test::HostedWorld {
protected:
    void SetUp() override {
        HostedWorld::SetUp();
        MakeHostFolders(Host("drive_c/Data/Machines/PC1"));
        MakeHostFolders(DriveD() + "/Jobs/Anna");
        LinkDrive('d', DriveD());
        MakeHostFolders(Share());
        MakeHostFolders(Host("dosdevices/unc/FileSrv"));
        fs::create_directory_symlink(Share(), Host("dosdevices/unc/FileSrv/Share"));
        fs::current_path(DriveD() + "/Jobs");
    }

    std::string DriveD() { return Scratch() + "/d"; }
    std::string Share() { return Scratch() + "/share"; }

    static std::string Canonical(const std::string& hostPath) {
        return fs::weakly_canonical(hostPath).string();
    }
};

TEST_F(PathMapping, WindowsPathsNameTheHostFilesTheyShould) {
    const std::pair<std::string, std::string> cases[] = {
        {"c:/WINDOWS/System32", Host("drive_c/windows/system32")},
        {"C:\\DATA\\Machines\\NewOne\\x.txt", Host("drive_c/Data/Machines/NewOne/x.txt")},
        {"C:\\windows\\.\\system32\\..\\..\\Data\\", Host("drive_c/Data")},
        {"C:\\..\\..\\windows", Host("drive_c/windows")},
        {"D:\\", DriveD()},
        {"\\\\filesrv\\SHARE\\x.txt", Share() + "/x.txt"},
        {"\\\\FileSrv\\Share\\..\\..\\x.txt", Share() + "/x.txt"}, // a share is a root
        // Relative to the current folder, D:\Jobs.
        {"anna\\file.txt", DriveD() + "/Jobs/Anna/file.txt"},
        {"\\jobs", DriveD() + "/Jobs"},
        // Trailing dots and blanks of each component are dropped.
        {"C:\\Data \\Machines.\\PC1. .", Host("drive_c/Data/Machines/PC1")},
        {"D:\\Jobs\\...\\Anna", DriveD() + "/Jobs/Anna"},
        {"C:\\x\\CONSOLE\\nul2", Host("drive_c/x/CONSOLE/nul2")},
    };
    for (const auto& [windows, host] : cases) {
        SCOPED_TRACE(windows);
        EXPECT_EQ(Canonical(ToHostPath(windows)), Canonical(host));
    }
    MakeHostFolders(Share() + "/sub");
    fs::current_path(Share() + "/sub");
    EXPECT_EQ(Canonical(ToHostPath("\\x.txt")), Canonical(Share() + "/x.txt")) << "share root";
}

// Names no Windows file can have: device names (superscript digits too) and characters Windows
// forbids in a name, in any component.
TEST_F(PathMapping, ReservedDeviceNamesAndForbiddenCharactersAreBadFileNames) {
    for (const char* path :
         {"C:\\x\\con\\y", "D:\\Com1.txt", "lpt9 .log", "C:\\aux. ", "C:\\com\xB9",
          "C:\\LPT\xB3.txt", "C:\\users\\?\\LdgrApp", "C:\\a*", "C:\\x\\a<b", "C:\\a>b", "C:\\a:b",
          "C:\\a\"b", "C:\\a|b", "C:\\a\tb\\c"}) {
        EXPECT_EQ(ldgr::test::ErrorOf([&] { ToHostPath(path); }), ldgr::kBadFileNameOrNumber)
            << path;
    }
}

// A name missing as written is matched in any letter case, the first in byte order. A folder
// too large to read for one name is asked for the name's spellings instead, so there it is found
// even where the folder may be searched but not read.
TEST_F(PathMapping, OtherLetterCasesFindTheFirstNameInByteOrderWithoutReadingLargeFolders) {
    const std::string large = Host("drive_c/large");
    for (const std::string& folder : {Host("drive_c/small"), large}) {
        WriteHostFile(folder + "/aBC", "");
        WriteHostFile(folder + "/Abc", "");
    }
    struct stat info {};
    for (int i = 0; i < 100'000 && stat(large.c_str(), &info) == 0 && info.st_size <= 65536; ++i) {
        WriteHostFile(large + "/" + std::string(240, 'f') + std::to_string(i), "");
    }
    fs::permissions(large, static_cast<fs::perms>(0711));
    fs::permissions(Prefix(), fs::perms::all);
    for (const std::string folder : {"small", "large"}) {
        EXPECT_EQ(ldgr::test::RunUnprivileged([&] {
                      return fs::path(ToHostPath("C:\\" + folder + "\\abc")).filename().string();
                  }),
                  "Abc")
            << folder;
    }
}

// A current folder whose name is longer than the host's usual path limit still holds relative
// paths.
TEST_F(PathMapping, RelativePathsResolveInACurrentFolderOfAnyDepth) {
    const std::string name(200, 'd');
    std::string windows = "D:\\Jobs";
    for (int depth = 0; depth < 22; ++depth, windows += "\\" + name) {
        fs::create_directory(name);
        fs::current_path(name);
    }
    EXPECT_EQ(ToWindowsPath("new"), windows + "\\new");
    for (int depth = 0; depth < 22; ++depth) {
        fs::current_path("..");
        fs::remove(name);
    }
}

TEST_F(PathMapping, HostPathsShowThroughTheDriveThatHoldsThem) {
    MakeHostFolders(Scratch() + "/elsewhere");
    fs::create_directory_symlink(Host("drive_c/windows"), Scratch() + "/elsewhere/win");
    fs::create_directory_symlink(DriveD(), Host("dosdevices/m:"));
    fs::create_directory_symlink(Host("drive_c/Data"), Host("dosdevices/f:"));
    const std::pair<std::string, std::string> cases[] = {
        {Host("drive_c"), "C:\\"},
        {Scratch() + "/elsewhere/win/not yet.txt", "C:\\windows\\not yet.txt"},
        {DriveD() + "/Jobs/Anna", "D:\\Jobs\\Anna"},     // D: and M: hold it: the lower letter
        {Host("drive_c/Data/Machines"), "F:\\Machines"}, // F: is the closer drive
        {Share() + "/x.txt", "\\\\FileSrv\\Share\\x.txt"},
        {Share(), "\\\\FileSrv\\Share"},
        {"/", "Z:\\"},
        {"Anna/new", "D:\\Jobs\\Anna\\new"},
    };
    for (const auto& [host, windows] : cases) {
        SCOPED_TRACE(host);
        EXPECT_EQ(ToWindowsPath(host), windows);
    }
}

} // namespace
