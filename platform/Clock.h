/// @file
/// The local time and the user's date and time settings.
#pragma once

#include <string>

namespace platform {

/// A local date and time, field by field; by default the runtime's zero date, 1899-12-30
/// 00:00:00.
struct LocalTime {
    int year = 1899; ///< 100 to 9999
    int month = 12;  ///< 1 to 12
    int day = 30;    ///< 1 to 31
    int hour = 0;    ///< 0 to 23
    int minute = 0;  ///< 0 to 59
    int second = 0;  ///< 0 to 59

    /// Whether the fields name a real moment of the years 100 to 9999.
    bool IsValid() const {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
               day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0) && hour >= 0 && hour <= 23 &&
               minute >= 0 && minute <= 59 && second >= 0 && second <= 59;
    }
};

/// The order of the parts of a short date.
enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

/// The short-date and time settings that formatting and reading of date texts follow.
struct LocaleInfo {
    std::string shortDatePattern = "M/d/yyyy"; ///< system pattern letters: d, dd, M, MM, yyyy
    DateOrder order = DateOrder::MonthDayYear; ///< the order of the short date's parts
    std::string dateSeparator = "/";           ///< between the parts of a date
    std::string timeSeparator = ":";           ///< between hours, minutes and seconds
    std::string amDesignator = "AM";           ///< after a time before noon, in 12-hour form
    std::string pmDesignator = "PM";           ///< after a time from noon on, in 12-hour form
};

/// The clock service: the present local time and the user's date and time settings.
class Clock {
public:
    virtual ~Clock() = default;
    /// The present local time; the time LDGR_NOW fixes where it is set (FixedTime.h).
    virtual LocalTime Now() = 0;
    /// The user's short-date and time settings.
    virtual LocaleInfo Locale() = 0;
};

} // namespace platform
