// The hosted registry read from the prefix's registry.reg (hosted build only: uses POSIX).
#include "ledgerline/platform/posix/Hosted.h"
#include "support/posix/HostedWorld.h"
#include "support/posix/Unprivileged.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace {

using platform::RegistryAccess;
using platform::RegistryStatus;
using platform::RootKey;

const char* const kKey = "SOFTWARE\\Korvane Group\\Ledgerline\\4";

class HostedRegistry : public ldgr::test::HostedWorld {
protected:
    void WriteRegistry(const std::string& valueLine) const {
        WriteHostFile(Host("registry.reg"),
                      "Windows Registry Editor Version 5.00\r\n\r\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Korvane Group\\Ledgerline\\4]\r\n" +
                          valueLine + "\r\n");
    }
};

// A value of the Ledgerline key, read into a buffer of 1024 bytes.
platform::RegistryValue Read(const std::string& name,
                             RegistryAccess access = RegistryAccess::Read) {
    return platform::RealRegistry().ReadValue(RootKey::LocalMachine, kKey, name, access, 1024);
}

TEST_F(HostedRegistry, ValueFitsTheBufferOrFails) {
    for (const auto& [length, status] :
         {std::pair{1023, RegistryStatus::Ok}, {1024, RegistryStatus::ValueNotRead}}) {
        const std::string text(length, 'x');
        WriteRegistry("\"ConfigFile\"=\"" + text + "\"");
        const auto value = Read("ConfigFile");
        EXPECT_EQ(value.status, status) << length;
        if (status == RegistryStatus::Ok) {
            EXPECT_EQ(value.type, platform::kRegSz);
            EXPECT_EQ(value.data, text + '\0');
        }
    }
}

// LDGR_REGISTRY_READONLY=1 stands for a registry the user may read but not change; root may
// write any file, so the read-only file meets the user nobody.
TEST_F(HostedRegistry, FullAccessNeedsAWritableRegistry) {
    WriteRegistry("\"Word\"=\"x\"");
    const auto statuses = [] {
        const auto letter = [](RegistryStatus status) {
            return status == RegistryStatus::Ok ? 'y' : 'n';
        };
        return std::string{letter(Read("Word", RegistryAccess::AllAccess).status),
                           letter(Read("Word", RegistryAccess::Read).status)};
    };
    EXPECT_EQ(statuses(), "yy");
    SetVariable("LDGR_REGISTRY_READONLY", "1");
    EXPECT_EQ(statuses(), "ny");
    SetVariable("LDGR_REGISTRY_READONLY", "");
    EXPECT_EQ(statuses(), "yy");
    const auto file = Host("registry.reg");
    std::filesystem::permissions(Prefix(), std::filesystem::perms::all);
    std::filesystem::permissions(file, static_cast<std::filesystem::perms>(0444));
    EXPECT_EQ(ldgr::test::RunUnprivileged(statuses), "ny");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_EQ(ldgr::test::RunUnprivileged(statuses), "nn");
}

} // namespace
