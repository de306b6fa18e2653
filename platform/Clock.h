// The local time and the user's date and time settings.
#pragma once

#include <string>

namespace platform {

struct LocalTime {
    int year = 1899;
    int month = 12; // 1 to 12
    int day = 30;   // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0;
    int second = 0;
};

// The order of the parts of a short date.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The short-date and time settings that formatting and reading of date texts follow.
struct LocaleInfo {
    std::string shortDatePattern = "M/d/yyyy"; // system pattern letters: d, dd, M, MM, yyyy
    DateOrder order = DateOrder::MonthDayYear;
    std::string dateSeparator = "/";
    std::string timeSeparator = ":";
    std::string amDesignator = "AM";
    std::string pmDesignator = "PM";
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() = 0;
    virtual LocaleInfo Locale() = 0;
};

} // namespace platform
