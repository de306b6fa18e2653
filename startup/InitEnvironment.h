/// @file
/// The suite's start-up routine: fills the environment record.
#pragma once

#include <optional>
#include <string>

namespace BCommon {

/// Runs the start-up sequence once, first thing in a program, and fills the environment record
/// (BCommon::Env(), common/Environment.h). Every failing step is skipped. Returns False when the
/// program must end at once (the processor with nothing to display).
///
/// A program calls, in this order:
///   1. platform::StartProgram(argc, argv), from its entry, before anything else;
///   2. BCommon::InitEnvironment(), then reads the record.
/// The executable's file name, without folder and extension, tells which program of the suite is
/// starting, and so its title and which steps run: a name containing "ldgrdeploy", "ldgrmaint"
/// or "ldgrsrvc" (any letter case) stops after the identity and constants; "ldgrproc" (this
/// letter case) may end here with nothing to display; "ldgrrpts" and "ldgrcfg" work on the shared
/// configuration file itself; any other name runs the whole sequence as ldgrmake does.
/// Called without StartProgram first, it shows a box saying so and returns False.
bool InitEnvironment();

/// "True" or "False" in any letter case, or a number (0 is False); nothing for any other text.
std::optional<bool> ConvertTruthValue(const std::string& sText);

} // namespace BCommon
