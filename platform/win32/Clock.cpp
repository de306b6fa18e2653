// The local time and the user's date and time settings, from the Windows kernel; LDGR_NOW
// fixes the time as on the hosted build.
#include "ledgerline/platform/FixedTime.h"
#include "ledgerline/platform/win32/Win32.h"

namespace platform::win32 {
namespace {

// One locale setting of the user; the fallback when the system cannot tell it.
std::string LocaleText(LCTYPE type, const char* fallback) {
    char buffer[80] = {};
    // In the system's code page, as every other text of the program, not the user locale's.
    if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type | LOCALE_USE_CP_ACP, buffer, sizeof buffer) == 0) {
        return fallback;
    }
    return buffer;
}

DateOrder OrderOf(const std::string& code) {
    if (code == "1") {
        return DateOrder::DayMonthYear;
    }
    return code == "2" ? DateOrder::YearMonthDay : DateOrder::MonthDayYear;
}

class WindowsClock final : public Clock {
public:
    LocalTime Now() override {
        if (const auto fixed = FixedLocalTime()) {
            return *fixed;
        }
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
    }

    LocaleInfo Locale() override {
        LocaleInfo info;
        info.shortDatePattern = LocaleText(LOCALE_SSHORTDATE, "M/d/yyyy");
        info.order = OrderOf(LocaleText(LOCALE_IDATE, "0"));
        info.dateSeparator = LocaleText(LOCALE_SDATE, "/");
        info.timeSeparator = LocaleText(LOCALE_STIME, ":");
        info.amDesignator = LocaleText(LOCALE_S1159, "AM");
        info.pmDesignator = LocaleText(LOCALE_S2359, "PM");
        return info;
    }
};

} // namespace

} // namespace platform::win32

namespace platform {

// The build's real clock service.
Clock& RealClock() {
    static win32::WindowsClock clock;
    return clock;
}

} // namespace platform
