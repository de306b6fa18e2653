// Date text and file search.
#include "ledgerline/common/DateAndFiles.h"

#include "ledgerline/common/ErrorHandling.h"
#include "ledgerline/common/Identity.h"
#include "ledgerline/common/Paths.h"
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/Platform.h"

#include <optional>
#include <string_view>
#include <vector>

namespace BCommon {
namespace {

using platform::DateOrder;
using platform::LocaleInfo;
using platform::LocalTime;

std::string Padded(int value, std::size_t width) {
    std::string digits = std::to_string(value);
    return digits.size() < width ? std::string(width - digits.size(), '0') + digits : digits;
}

int HourOf12(int hour) {
    return hour % 12 == 0 ? 12 : hour % 12;
}

// "h:mm:ss tt" with the locale's separator and designators.
std::string LongTime(const LocalTime& time, const LocaleInfo& locale) {
    const std::string& sep = locale.timeSeparator;
    return std::to_string(HourOf12(time.hour)) + sep + Padded(time.minute, 2) + sep +
           Padded(time.second, 2) + " " +
           (time.hour < 12 ? locale.amDesignator : locale.pmDesignator);
}

// One run of a pattern letter: d, dd, M, MM, yy, yyyy; anything else is written as it stands.
std::string DatePart(char letter, std::size_t count, const LocalTime& time) {
    switch (letter) {
    case 'd':
        return Padded(time.day, count >= 2 ? 2 : 1);
    case 'M':
        return Padded(time.month, count >= 2 ? 2 : 1);
    case 'y':
        return count <= 2 ? Padded(time.year % 100, 2) : Padded(time.year, 4);
    default:
        return std::string(count, letter);
    }
}

// The short date as the locale's pattern writes it.
std::string ShortDate(const LocalTime& time, const LocaleInfo& locale) {
    const std::string& pattern = locale.shortDatePattern;
    std::string text;
    for (std::size_t i = 0; i < pattern.size();) {
        std::size_t run = 1;
        while (i + run < pattern.size() && pattern[i + run] == pattern[i]) {
            ++run;
        }
        text += DatePart(pattern[i], run, time);
        i += run;
    }
    return text;
}

// "m/dd/yyyy h:mm:ss AMPM": month first whatever the locale's order, "/" standing for the
// locale's date separator.
std::string MonthFirstText(const LocalTime& time, const LocaleInfo& locale) {
    const std::string& sep = locale.dateSeparator;
    return std::to_string(time.month) + sep + Padded(time.day, 2) + sep + Padded(time.year, 4) +
           " " + LongTime(time, locale);
}

// The text cut at each character of separators; fields may be empty.
std::vector<std::string_view> SplitAtAny(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find_first_of(separators, start);
        fields.push_back(text.substr(start, end - start));
        if (end == std::string_view::npos) {
            return fields;
        }
        start = end + 1;
    }
}

std::optional<int> Number(std::string_view digits, std::size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return std::nullopt;
    }
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

// Years written with one or two digits fall in 1930 to 2029, as the system reads them.
int FullYear(int year, std::size_t digits) {
    if (digits > 2) {
        return year;
    }
    return year < 30 ? 2000 + year : 1900 + year;
}

// A short date in the locale's order; the locale's separator, "/", "-" and "." are all read.
bool ReadDate(std::string_view text, const LocaleInfo& locale, LocalTime& time) {
    const auto fields = SplitAtAny(text, locale.dateSeparator + "/-.");
    if (fields.size() != 3) {
        return false;
    }
    std::size_t day = 0;
    std::size_t month = 1;
    std::size_t year = 2;
    if (locale.order == DateOrder::MonthDayYear) {
        month = 0;
        day = 1;
    } else if (locale.order == DateOrder::YearMonthDay) {
        year = 0;
        day = 2;
    }
    const auto d = Number(fields[day], 2);
    const auto m = Number(fields[month], 2);
    const auto y = Number(fields[year], 4);
    if (!d || !m || !y) {
        return false;
    }
    time.year = FullYear(*y, fields[year].size());
    time.month = *m;
    time.day = *d;
    return true;
}

// "h:mm" or "h:mm:ss", on the 24-hour clock or followed by a blank and a designator.
bool ReadTime(std::string_view text, const LocaleInfo& locale, LocalTime& time) {
    const std::size_t blank = text.find(' ');
    const std::string_view clock = text.substr(0, blank);
    const std::string designator = blank == std::string_view::npos
                                       ? std::string()
                                       : std::string(ldgr::ascii::Trim(text.substr(blank)));
    const auto fields = SplitAtAny(clock, locale.timeSeparator + ":");
    if (fields.size() < 2 || fields.size() > 3) {
        return false;
    }
    const auto h = Number(fields[0], 2);
    const auto m = Number(fields[1], 2);
    const auto s = fields.size() == 3 ? Number(fields[2], 2) : std::optional<int>(0);
    if (!h || !m || !s) {
        return false;
    }
    time.minute = *m;
    time.second = *s;
    if (designator.empty()) {
        time.hour = *h;
        return true;
    }
    const bool am = ldgr::ascii::EqualsIgnoreCase(designator, locale.amDesignator);
    const bool pm = ldgr::ascii::EqualsIgnoreCase(designator, locale.pmDesignator);
    if ((!am && !pm) || *h < 1 || *h > 12) {
        return false;
    }
    time.hour = *h % 12 + (pm ? 12 : 0);
    return true;
}

// A date, optionally followed by a blank and a time; a date alone is midnight.
std::optional<LocalTime> ReadDateTime(std::string_view text, const LocaleInfo& locale) {
    LocalTime time;
    const std::size_t blank = text.find(' ');
    if (!ReadDate(text.substr(0, blank), locale, time)) {
        return std::nullopt;
    }
    time.hour = time.minute = time.second = 0;
    if (blank != std::string_view::npos &&
        !ReadTime(ldgr::ascii::Trim(text.substr(blank)), locale, time)) {
        return std::nullopt;
    }
    return time.IsValid() ? std::optional(time) : std::nullopt;
}

// The first "/", else the first "\", else the first ".".
std::size_t FirstDateSeparator(std::string_view text) {
    for (const char separator : {'/', '\\', '.'}) {
        if (const std::size_t at = text.find(separator); at != std::string_view::npos) {
            return at;
        }
    }
    return std::string_view::npos;
}

std::string TwoCharacters(std::string_view field) {
    std::string text(field);
    if (text.size() != 2) {
        text.insert(text.begin(), '0');
    }
    return text;
}

// Month and day with two characters and "/" between the fields. A text whose separator is
// none of "/", "\" and "." comes back unchanged.
std::string NormaliseMonthFirst(const std::string& formatted) {
    const std::size_t first = FirstDateSeparator(formatted);
    if (first == std::string::npos) {
        return formatted;
    }
    const std::string_view rest = std::string_view(formatted).substr(first + 1);
    const std::size_t second = FirstDateSeparator(rest);
    if (second == std::string_view::npos) {
        return formatted;
    }
    return TwoCharacters(std::string_view(formatted).substr(0, first)) + "/" +
           TwoCharacters(rest.substr(0, second)) + "/" + std::string(rest.substr(second + 1));
}

} // namespace

std::string NowText() {
    const LocaleInfo locale = platform::Time().Locale();
    const LocalTime now = platform::Time().Now();
    return ShortDate(now, locale) + " " + LongTime(now, locale);
}

std::string GetDateText(std::string& sDate) {
    std::string formatted(ldgr::ascii::Trim(TrimNull(sDate)));
    // A text that cannot be read as a date and time goes on to the normaliser as it stands.
    SkipFailingStep([&] {
        const LocaleInfo locale = platform::Time().Locale();
        if (const auto time = ReadDateTime(formatted, locale)) {
            formatted = MonthFirstText(*time, locale);
        }
    });
    sDate = formatted;
    return NormaliseMonthFirst(formatted);
}

std::string FindFile(const std::string& sPath) {
    std::string found;
    SkipFailingStep([&] {
        const std::string path = RemoveTrailingBackslashes(sPath);
        const auto entry = platform::Files().FindFirst(path);
        if (!entry) {
            return;
        }
        // The name as asked for, not as found: a pattern comes back as the pattern.
        found = entry->isFolder ? "." : path.substr(path.find_last_of('\\') + 1);
    });
    return found;
}

} // namespace BCommon
