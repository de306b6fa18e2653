// The environment record: its fields by their exact names, their initial values, the reset, and
// option values.
#include "common/Environment.h"

#include <gtest/gtest.h>

namespace {

using BCommon::EnvironmentRecord;
using BCommon::OptionValue;
using R = EnvironmentRecord;

// Every field, by name: a renamed or missing field fails to compile here.
constexpr std::string R::*kTexts[] = {
    &R::m_sCompanyCode,    &R::m_sRunEntry,         &R::m_sSupportPhone,
    &R::m_sWebAddress,     &R::m_sSupportEmail,     &R::m_sProductName,
    &R::m_sCompanyName,    &R::m_sCompanyShortName, &R::m_sSystemPath,
    &R::m_sWindowsPath,    &R::m_sOSVersion,        &R::m_sLocalUserPath,
    &R::m_sMachineName,    &R::m_sUserName,         &R::m_sIPAddress,
    &R::m_sRecentPath,     &R::m_sSharedConfigFile, &R::m_sConfigPath,
    &R::m_sconfigfile,     &R::m_sDataFile,         &R::m_sDataPath,
    &R::m_sDataUserPath,   &R::m_sUserPathLetter,   &R::m_sUserPath,
    &R::m_sMachinePath,    &R::m_sSpoolPath,        &R::m_sSpoolIndex,
    &R::m_sLoggingMachine, &R::m_sFileServers,      &R::m_sAutoUpdateLocation,
    &R::m_sLoggingGroups,  &R::m_sNonLoggingGroups, &R::m_sPauseGroups,
    &R::m_sNoPauseGroups,  &R::m_sRedirectGroups,   &R::m_sUnsetRedirectGroups,
};
constexpr bool R::*kTruthValues[] = {
    &R::m_bDebugMode,     &R::m_bDebugLog,         &R::m_bLocalDataPath, &R::m_bRunFromSetup,
    &R::m_bLogAllUsers,   &R::m_bServiceLogLocked, &R::m_bObtainPath,    &R::m_bLogDatFilesOnly,
    &R::m_bSavePrintData, &R::m_bConvert11x17,     &R::m_bPauseUntilAck, &R::m_bDeleteIfCanceled,
    &R::m_bRemoteConfig,
};
constexpr std::int32_t R::*kNumbers[] = {&R::m_lConfigFileStamp, &R::m_lNumMachines,
                                         &R::m_lNumUsers};
constexpr OptionValue R::*kOptions[] = {&R::m_vDisplayImmediately, &R::m_vDisplayToUserOnly,
                                        &R::m_vAutoUpdate};

void ExpectInitial(const EnvironmentRecord& record) {
    for (const auto field : kTexts) {
        EXPECT_EQ(record.*field, "");
    }
    for (const auto field : kTruthValues) {
        EXPECT_FALSE(record.*field);
    }
    for (const auto field : kNumbers) {
        EXPECT_EQ(record.*field, 0);
    }
    for (const auto field : kOptions) {
        EXPECT_FALSE((record.*field).IsTrue());
        EXPECT_EQ((record.*field).AsText(), "");
    }
}

TEST(EnvironmentRecord, StartsEmptyFalseAndZero) {
    ExpectInitial(EnvironmentRecord{});
}

TEST(EnvironmentRecord, ResetPutsEveryFieldBack) {
    EnvironmentRecord& env = BCommon::Env();
    for (const auto field : kTexts) {
        env.*field = "set";
    }
    for (const auto field : kTruthValues) {
        env.*field = true;
    }
    for (const auto field : kNumbers) {
        env.*field = -1;
    }
    for (const auto field : kOptions) {
        env.*field = OptionValue::Text("True");
    }
    BCommon::ResetEnvironment();
    ExpectInitial(BCommon::Env());
    EXPECT_EQ(&BCommon::Env(), &env) << "one record for the whole process";
}

TEST(OptionValue, HoldsTheTextOrFalse) {
    struct Case {
        OptionValue value;
        bool isText;
        const char* text;
        bool isTrue;
    };
    const Case cases[] = {
        {OptionValue::TextOrFalse(""), false, "False", false},
        {OptionValue::TextOrFalse("Yes"), true, "Yes", false},
        {OptionValue::TextOrFalse("True"), true, "True", true},
        {OptionValue::TextOrFalse("tRUE"), true, "tRUE", true},
        {OptionValue::TextOrFalse(" True "), true, " True ", true},
        {OptionValue::TextOrFalse("-1"), true, "-1", true},
        {OptionValue::TextOrFalse("1"), true, "1", false},
        {OptionValue::TextOrFalse("False"), true, "False", false},
        {OptionValue::Text(""), true, "", false},
        {OptionValue::False(), false, "False", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value.IsText(), c.isText);
        EXPECT_EQ(c.value.AsText(), c.text);
        EXPECT_EQ(c.value.IsTrue(), c.isTrue);
    }
    EXPECT_NE(OptionValue::False(), OptionValue::Text("False"));
}

} // namespace
