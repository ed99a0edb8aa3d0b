// Writes a history log for the benchmarks of kestrava-log: the same arguments give the
// same log, byte for byte.
//
//   generate-log LOG FILES ENTRIES [SEED]
//   generate-log --bytes SIZE LOG FILES [SEED]   entries until the log holds SIZE bytes
//   generate-log --shifted LOG FILES [SEED]      two entries whose lines no longer line up
//
// Each entry lists a tree of FILES files as the window logs it (walk order: a folder's
// files, then the folders below, level by level), about a hundred bytes a line. Between
// two entries an hour goes by, in which one file in 200 changes its size or its date,
// one in 1000 goes and one in 1000 comes, next to a file of its own folder.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Random.h"

namespace {

using kestrava::bench::Random;

struct File {
    std::string path;
    std::uint64_t size;
    std::int64_t modified;  // seconds since 1970, UTC
};

constexpr std::int64_t Dec7At031716 = 1796613436;  // the first entry's time
constexpr std::int64_t SecondsPerDay = 86400;

const char* const Areas[] = {"Projects", "Archive 2025", "Photos", "Accounts", "Shared notes"};
const char* const Names[] = {"report", "Quarterly summary draft", "IMG",         "invoice",
                             "notes",  "meeting minutes",         "data export", "backup copy"};
const char* const Extensions[] = {".txt", ".pdf", ".jpg", ".xlsx", ".docx", ".csv", ".md", ".zip"};

// "1.5 KB" and the like, as the window writes sizes.
std::string SizeText(std::uint64_t bytes) {
    const char* const units[] = {" Bytes", " KB", " MB", " GB"};
    double value = static_cast<double>(bytes);
    int unit = 0;
    while (unit < 3 && value >= 1024) {
        value /= 1024;
        ++unit;
    }
    char text[32];
    if (unit == 0) {
        std::snprintf(text, sizeof text, "%llu", static_cast<unsigned long long>(bytes));
    } else {
        std::snprintf(text, sizeof text, "%.1f", value);
        const std::size_t length = std::strlen(text);
        if (length > 2 && std::strcmp(text + length - 2, ".0") == 0) {
            text[length - 2] = '\0';
        }
    }
    return text + std::string(units[unit]);
}

// "12/7/2026 3:17:16 AM", as an English (United States) system writes dates.
std::string DateText(std::int64_t seconds) {
    // Days since 1970 to a civil date (Howard Hinnant's algorithm).
    const std::int64_t days = seconds / SecondsPerDay;
    const std::int64_t shifted = days + 719468;
    const std::int64_t era = shifted / 146097;
    const std::int64_t dayOfEra = shifted - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthShifted = (5 * dayOfYear + 2) / 153;
    const std::int64_t day = dayOfYear - (153 * monthShifted + 2) / 5 + 1;
    const std::int64_t month = monthShifted < 10 ? monthShifted + 3 : monthShifted - 9;
    const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    const std::int64_t time = seconds % SecondsPerDay;
    const std::int64_t hour = time / 3600;
    char text[128];
    std::snprintf(text, sizeof text, "%lld/%lld/%lld %lld:%02lld:%02lld %s",
                  static_cast<long long>(month), static_cast<long long>(day),
                  static_cast<long long>(year),
                  static_cast<long long>(hour % 12 == 0 ? 12 : hour % 12),
                  static_cast<long long>(time / 60 % 60), static_cast<long long>(time % 60),
                  hour < 12 ? "AM" : "PM");
    return text;
}

File NewFile(Random& random, const std::string& folder, std::uint64_t number, std::int64_t now) {
    std::string path = folder;
    path += '/';
    path += Names[random.below(std::size(Names))];
    path += ' ';
    path += std::to_string(number);
    path += Extensions[random.below(std::size(Extensions))];
    // One file in ten is empty; the others span bytes to gigabytes.
    return {path, random.below(10) == 0 ? 0 : random.below(1ULL << (random.below(32) + 1)),
            now - static_cast<std::int64_t>(random.below(3000 * SecondsPerDay))};
}

// About fifty files a folder; the folders in the order the walk lists them.
std::vector<File> MakeTree(Random& random, std::uint64_t files, std::int64_t now) {
    std::vector<File> tree;
    tree.reserve(files);
    const std::string top = "/home/ann/Watched";
    std::uint64_t folder = 0;
    while (tree.size() < files) {
        const std::string path = top + "/" + Areas[folder % std::size(Areas)] + "/project " +
                                 std::to_string(folder / std::size(Areas)) + "/documents";
        for (std::uint64_t file = 0; file < 50 && tree.size() < files; ++file) {
            tree.push_back(NewFile(random, path, tree.size(), now));
        }
        ++folder;
    }
    return tree;
}

// An hour's changes to the tree.
std::vector<File> Changed(Random& random, const std::vector<File>& tree, std::int64_t now,
                          std::uint64_t& added) {
    std::vector<File> next;
    next.reserve(tree.size() + tree.size() / 500);
    for (const File& file : tree) {
        if (random.below(1000) == 0) {
            continue;
        }
        next.push_back(file);
        if (random.below(200) == 0) {
            File& changed = next.back();
            if (random.below(2) == 0) {
                changed.size = random.below(1u << 24);
            }
            changed.modified = now - static_cast<std::int64_t>(random.below(3600));
        }
        if (random.below(1000) == 0) {
            const std::string folder = file.path.substr(0, file.path.rfind('/'));
            next.push_back(NewFile(random, folder, 100'000'000 + added++, now));
        }
    }
    return next;
}

// An entry after which nothing lines up by position: 1,000 files gone near the start of
// the listing, 1,000 come at its end, and 2,000 others changed in between.
std::vector<File> Shifted(Random& random, const std::vector<File>& tree, std::int64_t now) {
    constexpr std::size_t Gone = 1000;
    constexpr std::size_t Changed = 2000;
    const std::size_t firstGone = tree.size() / 100;
    std::vector<File> next(tree.begin(), tree.begin() + static_cast<std::ptrdiff_t>(firstGone));
    next.insert(next.end(), tree.begin() + static_cast<std::ptrdiff_t>(firstGone + Gone),
                tree.end());
    for (std::size_t change = 0; change < Changed; ++change) {
        File& file = next[firstGone + random.below(next.size() - firstGone)];
        file.size += 1 + random.below(1u << 20);
        file.modified = now - static_cast<std::int64_t>(random.below(3600));
    }
    const std::string folder = tree.back().path.substr(0, tree.back().path.rfind('/')) + " new";
    for (std::size_t added = 0; added < Gone; ++added) {
        next.push_back(NewFile(random, folder, 200'000'000 + added, now));
    }
    return next;
}

void WriteEntry(std::FILE* log, const std::vector<File>& tree, std::int64_t now) {
    std::string text = "[" + DateText(now) + "]\r\nFile|Size|Date Modified\r\n";
    for (const File& file : tree) {
        text += file.path;
        text += '|';
        text += SizeText(file.size);
        text += '|';
        text += DateText(file.modified);
        text += "\r\n";
    }
    if (std::fwrite(text.data(), 1, text.size(), log) != text.size()) {
        std::perror("generate-log");
        std::exit(EXIT_FAILURE);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool bySize = argc > 1 && std::strcmp(argv[1], "--bytes") == 0;
    const bool shifted = argc > 1 && std::strcmp(argv[1], "--shifted") == 0;
    const int first = bySize ? 3 : shifted ? 2 : 1;
    const int needed = bySize || shifted ? first + 2 : first + 3;
    if (argc < needed) {
        std::fprintf(stderr,
                     "usage: %s LOG FILES ENTRIES [SEED]\n"
                     "       %s --bytes SIZE LOG FILES [SEED]\n"
                     "       %s --shifted LOG FILES [SEED]\n",
                     argv[0], argv[0], argv[0]);
        return EXIT_FAILURE;
    }
    const std::uint64_t wantedBytes = bySize ? std::strtoull(argv[2], nullptr, 10) : 0;
    const char* logPath = argv[first];
    const std::uint64_t files = std::strtoull(argv[first + 1], nullptr, 10);
    const std::uint64_t entries = bySize    ? UINT64_MAX
                                  : shifted ? 2
                                            : std::strtoull(argv[first + 2], nullptr, 10);
    const int seedArgument = bySize || shifted ? first + 2 : first + 3;
    Random random(argc > seedArgument ? std::strtoull(argv[seedArgument], nullptr, 10) : 1);
    std::FILE* log = std::fopen(logPath, "wb");
    if (log == nullptr) {
        std::perror(logPath);
        return EXIT_FAILURE;
    }
    std::int64_t now = Dec7At031716;
    std::vector<File> tree = MakeTree(random, files, now);
    std::uint64_t added = 0;
    for (std::uint64_t entry = 0; entry < entries; ++entry) {
        WriteEntry(log, tree, now);
        if (bySize && static_cast<std::uint64_t>(std::ftell(log)) >= wantedBytes) {
            break;
        }
        now += 3600;
        tree = shifted ? Shifted(random, tree, now) : Changed(random, tree, now, added);
    }
    std::fclose(log);
    return EXIT_SUCCESS;
}
