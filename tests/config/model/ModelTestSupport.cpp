// The configuration model tests' world.
#include "config/model/ModelTestSupport.h"

#include "KorvaneIni/KorvaneIni.h"

#include <utility>

namespace ldgr::testing {

std::string Crlf(std::string_view text) {
    std::string result;
    for (const char c : text) {
        result += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    return result;
}

const char* const kLayout2File = R"([GENERAL]
Version                  = 2
DataFile                 = \\FS1\Ledger\Data.mdb
DisableLogging           = False
DebugLog                 = True
AllowCancel              = True
LogSilent                = False
LogAllUsers              = True
LoggingMachine           = PRINTSRV
FileServers              = FS1,FS2
AutoUpdateLocation       = \\FS1\Ledger\
DataPath                 = \\FS1\Ledger\Data\
DisplayAfter             = 3
UserTimeFrame            = Monthly
UserLimit                = 250
UserFromTime             = Now
UserAction               = Warn
UserUntilTime            = Forever
UserPrintUnits           = Pages
PauseUntilAck            = False
Convert11x17             = True
SavePrintData            = False
ObtainPath               = True
DisplayImmediately       = False
DisplayToUserOnly        = True
AutoUpdate               = False
SetEmf                   = True
SetRaw                   = False
DeleteIfCanceled         = True
LogDatFilesOnly          = False
NumPrinterGroups         = 2

[PG1]
PrinterGroupName         = Accounting
DisableLogging           = False
LogSilent                = True
PauseUntilAck            = False
Redirect                 = 10.0.0.7
NumCategories            = 1

[PG1CATEGORY1]
CategoryName             = Cost
Verification             = 1
AckDefaultValues         = True
AllowBlankValues         = False
OnlyPreDefinedValues     = True
MaskUserInput            = False
Pattern                  = Any
NumPreDefinedValues      = 2
PreDefinedValue1         = 12
PreDefinedValue2         = 0, Project X
DefaultValue             = 2

[PG2]
PrinterGroupName         = Front Desk
DisableLogging           = True
LogSilent                = False
PauseUntilAck            = True
Redirect                 = Enter IP Address Here
NumCategories            = 0
)";

ModelTest::~ModelTest() {
    Close();
}

void ModelTest::Close() {
    if (m_hIniFile != 0) {
        KorvaneIni::CloseIni(std::exchange(m_hIniFile, 0));
    }
}

void ModelTest::Put(std::string_view text) {
    world.files.Put(kModelFile, Crlf(text));
}

std::int32_t ModelTest::Open(std::string_view text) {
    Close();
    Put(text);
    m_hIniFile = KorvaneIni::OpenIni(kModelFile);
    return m_hIniFile;
}

std::vector<std::string> ModelTest::Boxes() const {
    std::vector<std::string> boxes;
    for (const ShownBox& box : world.desktop.boxes) {
        boxes.push_back(std::to_string(box.style) + " " + box.text.substr(0, box.text.find('\r')));
    }
    return boxes;
}

std::string ModelTest::Written() const {
    std::string text = world.files.Content(kWrittenFile);
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            result += text[i];
        }
    }
    return result;
}

} // namespace ldgr::testing
