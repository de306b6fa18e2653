/// @file
/// Date text and file search.
#pragma once

#include <string>

namespace BCommon {

/// The present date and time as the system shows it: short date, a blank, long time.
std::string NowText();
/// A date-time text in the month-first form "MM/dd/yyyy h:mm:ss AM" (locale separators kept
/// where the normaliser leaves them). sDate receives the intermediate formatted text.
std::string GetDateText(std::string& sDate);
/// Empty when nothing matches, "." for a folder, else the last component as asked.
std::string FindFile(const std::string& sPath);

} // namespace BCommon
