#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/DatePattern.h"
#include "engine/LocalCalendar.h"
#include "platform/Clock.h"
#include "platform/Locale.h"

namespace kestrava::engine {

// Dates and times in the general date format: the locale's short date as the locale
// gives it for that format (with a four-digit year), a space, and the locale's long
// time without its time zone (en_US: "12/7/2026 3:17:16 AM", de_DE: "07.12.2026
// 03:17:16"); a time of exactly midnight shows the date alone. Built once from the locale, then
// cheap for every file of a snapshot: no locale or time-zone call per moment.
class GeneralDateText {
public:
    GeneralDateText(platform::DateTimeNames names, const platform::Clock& clock);

    // Appends the text of the moment (seconds since 1970-01-01 00:00:00 UTC).
    void append(std::int64_t utcSeconds, std::string& out);

    std::string text(std::int64_t utcSeconds) {
        std::string out;
        append(utcSeconds, out);
        return out;
    }

    // The local date and time that append writes as this text; a date alone reads as its
    // midnight. Nothing when the text is no date of this locale's.
    std::optional<LocalDateTime> read(std::string_view text) const;

private:
    platform::DateTimeNames names_;
    DatePattern dateAndTime_;
    DatePattern dateAlone_;
    LocalCalendar calendar_;
};

}  // namespace kestrava::engine
