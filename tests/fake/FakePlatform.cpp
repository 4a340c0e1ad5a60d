#include "tests/fake/FakePlatform.h"

#include "platform/NumberText.h"

namespace durmivela::testing {

// The program's home format: H:mm:ss.
std::string FakeClock::longTimeFormat(const TimeOfDay& t) const {
    return std::to_string(t.hour) + ":" + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

}  // namespace durmivela::testing
