#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine/GeneralDateText.h"
#include "engine/LocalCalendar.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

namespace kestrava::history {

// When an entry was taken, as its date line tells: the local date and time it shows,
// and the moment that was.
struct EntryTime {
    engine::LocalDateTime local;
    std::int64_t utcSeconds = 0;
};

// Reads entries' date lines back with the date code the window writes them with, in the
// same locale and time zone.
class EntryTimeReader {
public:
    EntryTimeReader(const platform::DateTimeNames& names, const platform::Clock& clock)
        : dates_(names, clock), calendar_(clock) {}

    // The text between a date line's brackets, in the program's own encoding. Nothing
    // when it is no date of this locale's.
    std::optional<EntryTime> read(std::string_view date);

    engine::LocalCalendar& calendar() { return calendar_; }

private:
    engine::GeneralDateText dates_;
    engine::LocalCalendar calendar_;
};

}  // namespace kestrava::history
