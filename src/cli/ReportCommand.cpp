#include "cli/ReportCommand.h"

#include "cli/ReportData.h"
#include "cli/ReportTemplate.h"
#include "history/EntryIndex.h"
#include "history/StoreBytes.h"
#include "platform/RuntimeError.h"

namespace kestrava::cli {
namespace {

using platform::RuntimeError;

std::string Base64(std::string_view bytes) {
    constexpr std::string_view Digits =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    text.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const auto group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]) << 16 |
                                       static_cast<unsigned char>(bytes[at + 1]) << 8 |
                                       static_cast<unsigned char>(bytes[at + 2]));
        text += Digits[group >> 18];
        text += Digits[(group >> 12) & 63];
        text += Digits[(group >> 6) & 63];
        text += Digits[group & 63];
    }
    if (const std::size_t left = bytes.size() - at; left > 0) {
        const std::uint32_t group =
            static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]) << 16) |
            (left == 2 ? static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1]) << 8)
                       : 0);
        text += Digits[group >> 18];
        text += Digits[(group >> 12) & 63];
        text += left == 2 ? Digits[(group >> 6) & 63] : '=';
        text += '=';
    }
    return text;
}

void Replace(std::string& page, std::string_view marker, std::string_view text) {
    const std::size_t at = page.find(marker);
    page.replace(at, marker.size(), text);
}

std::string Entries(std::uint64_t count) {
    return std::to_string(count) + (count == 1 ? " whole entry" : " whole entries");
}

// An entry's number from 1, the oldest, for a number as given.
std::uint64_t FromOldest(std::int64_t number, std::uint64_t count) {
    const std::int64_t fromOldest =
        number > 0 ? number : static_cast<std::int64_t>(count) + 1 + number;
    if (fromOldest < 1 || fromOldest > static_cast<std::int64_t>(count)) {
        throw RuntimeError(
            platform::error_number::SubscriptOutOfRange,
            "there is no entry " + std::to_string(number) + ": the log holds " + Entries(count));
    }
    return static_cast<std::uint64_t>(fromOldest);
}

}  // namespace

std::string ReportPage(std::string_view data) {
    const std::string deflated = history::Deflate(data, history::Compression::Balanced);
    std::string page(ReportHtml);
    Replace(page, "@STYLE@", ReportCss);
    Replace(page, "@DATA@", Base64(deflated));
    Replace(page, "@SCRIPT@", ReportScript);
    return page;
}

int WriteReport(HistoryLog& log, const std::vector<std::int64_t>& numbers,
                const std::string& htmlPath, const history::PathFilter& filter,
                platform::FileSystem& fileSystem, Console& console) {
    history::EntryIndex index(log.file, log.end);
    const std::uint64_t count = log.stored() + index.count();
    if (count == 0) {
        throw NoWholeEntry(log.file, console);
    }
    const std::uint64_t first = FromOldest(numbers.empty() ? 1 : numbers[0], count);
    const std::uint64_t last = FromOldest(numbers.size() < 2 ? -1 : numbers[1], count);
    if (first > last) {
        throw RuntimeError(platform::error_number::SubscriptOutOfRange,
                           "entry " + std::to_string(numbers[0]) + " comes after entry " +
                               std::to_string(numbers.size() < 2 ? -1 : numbers[1]) +
                               ": a report runs from the older to the newer");
    }
    const std::string page =
        ReportPage(CollectReportData(log, first, last, filter, console.locale()));
    const std::string temporary = htmlPath + ".new";
    try {
        auto file = fileSystem.createFile(temporary);
        file->write(page);
        file.reset();
        fileSystem.replaceFile(temporary, htmlPath);
    } catch (const RuntimeError& error) {
        try {
            fileSystem.removeFile(temporary);
        } catch (const RuntimeError&) {
            // What could not be written may not be there at all.
        }
        throw RuntimeError(error.number(), "can't write the report " + console.shown(htmlPath) +
                                               ": " + error.description());
    }
    return 0;
}

}  // namespace kestrava::cli
