// The hosted clock and locale: LDGR_NOW fixes the local time, LDGR_LOCALE picks the settings.
#include "ledgerline/platform/AsciiText.h"
#include "ledgerline/platform/FixedTime.h"
#include "ledgerline/platform/posix/Hosted.h"

#include <array>
#include <cstdlib>
#include <string_view>
#include <time.h>

namespace platform::posix {
namespace {

struct NamedLocale {
    std::string_view name;
    const char* shortDatePattern;
    DateOrder order;
    const char* dateSeparator;
};

// The first one is the default.
constexpr std::array<NamedLocale, 4> kLocales{{
    {"en-US", "M/d/yyyy", DateOrder::MonthDayYear, "/"},
    {"en-GB", "dd/MM/yyyy", DateOrder::DayMonthYear, "/"},
    {"de-DE", "dd.MM.yyyy", DateOrder::DayMonthYear, "."},
    {"nl-NL", "d-M-yyyy", DateOrder::DayMonthYear, "-"},
}};

bool SameName(std::string_view a, std::string_view b) {
    return ldgr::ascii::EqualsIgnoreCase(a, b);
}

const NamedLocale& ChosenLocale() {
    const char* name = std::getenv("LDGR_LOCALE");
    for (const NamedLocale& locale : kLocales) {
        if (name != nullptr && SameName(name, locale.name)) {
            return locale;
        }
    }
    return kLocales.front();
}

LocalTime HostLocalTime() {
    const time_t now = time(nullptr);
    tm parts{};
    localtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
            parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

class PosixClock final : public Clock {
public:
    // A malformed LDGR_NOW is ignored: the host clock answers.
    LocalTime Now() override { return FixedLocalTime().value_or(HostLocalTime()); }

    LocaleInfo Locale() override {
        const NamedLocale& chosen = ChosenLocale();
        LocaleInfo info;
        info.shortDatePattern = chosen.shortDatePattern;
        info.order = chosen.order;
        info.dateSeparator = chosen.dateSeparator;
        return info;
    }
};

} // namespace

} // namespace platform::posix

namespace platform {

// The build's real clock service.
Clock& RealClock() {
    static posix::PosixClock clock;
    return clock;
}

} // namespace platform
