#include "history/EntryTime.h"

namespace kestrava::history {

std::optional<EntryTime> EntryTimeReader::read(std::string_view date) {
    const auto local = dates_.read(date);
    if (!local) {
        return std::nullopt;
    }
    return EntryTime{*local, calendar_.utcSecondsOf(*local)};
}

}  // namespace kestrava::history
