#include "engine/GeneralDateText.h"

#include <utility>

namespace kestrava::engine {
namespace {

DatePattern GeneralPattern(const platform::DateTimeNames& names) {
    // As one format, like Qt's: an AM/PM marker anywhere makes "h" a 12-hour field.
    const bool amPmSeen =
        DatePattern::HasAmPm(names.shortDatePattern) || DatePattern::HasAmPm(names.longTimePattern);
    DatePattern general(names.shortDatePattern, DatePattern::Fields::DateAndTime, amPmSeen);
    DatePattern time(names.longTimePattern, DatePattern::Fields::DateAndTime, amPmSeen);
    time.dropTimeZone();
    general.append(" ", time);
    return general;
}

}  // namespace

GeneralDateText::GeneralDateText(platform::DateTimeNames names, const platform::Clock& clock)
    : names_(std::move(names)),
      dateAndTime_(GeneralPattern(names_)),
      dateAlone_(names_.shortDatePattern, DatePattern::Fields::Date,
                 DatePattern::HasAmPm(names_.shortDatePattern)),
      calendar_(clock) {}

void GeneralDateText::append(std::int64_t utcSeconds, std::string& out) {
    const LocalDateTime time = calendar_.at(utcSeconds);
    (time.isMidnight() ? dateAlone_ : dateAndTime_).format(time, names_, out);
}

std::optional<LocalDateTime> GeneralDateText::read(std::string_view text) const {
    if (auto time = dateAndTime_.read(text, names_)) {
        return time;
    }
    return dateAlone_.read(text, names_);
}

}  // namespace kestrava::engine
