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

    // Whether the fields name a real moment of the years 100 to 9999.
    bool IsValid() const {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
               day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0) && hour >= 0 && hour <= 23 &&
               minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    }
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
