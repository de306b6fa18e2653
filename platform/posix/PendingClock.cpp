// Placeholder for the hosted clock until its real implementation lands (removed then).
#include "platform/posix/Hosted.h"

namespace platform::posix {
namespace {

class PendingClock final : public Clock {
public:
    LocalTime Now() override { return {}; }
    LocaleInfo Locale() override { return {}; }
};

} // namespace

Clock& HostedClock() {
    static PendingClock clock;
    return clock;
}

} // namespace platform::posix
