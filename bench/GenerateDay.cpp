// Writes the history log of one busy day: one entry a minute, 1,440 entries, of a tree
// of FILES files (50,000 unless given). The same arguments give the same log, byte for
// byte, whatever the machine's time zone.
//
//   generate-day [--locale NAME] LOG [FILES] [SEED]
//
// The tree has folders up to eight levels deep, about ten files a folder and a few with
// thousands, listed as the walk lists them (a folder's files, then the folders below,
// level by level). Each minute 20 files change (a new date, most also a new size), one
// file comes and one goes; at noon a folder of 500 files is renamed. Size texts come from
// ConvertSize and date texts from the window's own date code, in the locale NAME (Qt's
// name, "en_US" unless given) with local time taken as UTC; the day is 7 December 2026.
#include <QLocale>
#include <QString>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Random.h"
#include "core/ErrorReport.h"
#include "engine/ConvertSize.h"
#include "engine/GeneralDateText.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/qt/QtLocale.h"

namespace {

using kestrava::bench::Random;
namespace platform = kestrava::platform;

constexpr std::int64_t Dec7Midnight = 1796601600;
constexpr std::int64_t SecondsPerDay = 86400;
constexpr int EntriesPerDay = 1440;
constexpr int ModifiedPerMinute = 20;
constexpr int DeepestLevel = 6;
constexpr std::size_t RenamedFolderFiles = 500;
constexpr int RenameAtEntry = 720;

// Local time is UTC: the log must not depend on where it is generated.
class UtcClock : public platform::Clock {
public:
    std::chrono::system_clock::time_point now() const override { return {}; }
    std::chrono::steady_clock::time_point monotonicNow() const override { return {}; }
    double secondsSinceMidnight() const override { return 0; }
    std::int32_t utcOffsetAt(std::int64_t) const override { return 0; }
    double seededRandomFraction(double) override { return 0; }
};

// ConvertSize reports only sizes that no file has; the generator never gives one.
class FailingDialogs : public platform::Dialogs {
public:
    platform::MessageAnswer showMessage(const platform::MessageBoxRequest& request) override {
        std::fprintf(stderr, "generate-day: %s\n", request.text.c_str());
        std::exit(EXIT_FAILURE);
    }
    std::string chooseFolder(const std::string&, const std::string&) override { return {}; }
};

const char* const FolderWords[] = {"src", "docs", "Photos", "2026", "Büro", "old", "lib", "misc"};
const char* const FileWords[] = {"report",  "summary", "IMG",     "invoice",   "notes",
                                 "minutes", "export",  "copy of", "Café menu", ".settings"};
const char* const Extensions[] = {".txt", ".pdf", ".jpg", ".xlsx", ".docx", ".csv", ".md", ".zip"};

struct File {
    std::string name;
    std::uint64_t size;
    std::int64_t modified;
    std::string line;  // as the log holds it, CR LF included
};

struct Folder {
    std::string path;
    int depth;
    std::vector<std::size_t> children;
    std::vector<File> files;
};

class Day {
public:
    Day(const QLocale& locale, std::uint64_t seed)
        : random_(seed),
          separator_(platform::QtLocale(locale).decimalSeparator()),
          dates_(platform::QtLocale(locale).dateTimeNames(), clock_),
          report_(dialogs_) {}

    void makeTree(std::size_t fileCount);
    void changeAMinute(int entry, std::int64_t now);
    void writeEntry(std::FILE* log, std::int64_t now);

private:
    File newFile(std::size_t number, std::int64_t modified);
    void setLine(const Folder& folder, File& file);
    void listInWalkOrder();
    Folder& someFolder();

    Random random_;
    UtcClock clock_;
    FailingDialogs dialogs_;
    std::string separator_;
    kestrava::engine::GeneralDateText dates_;
    kestrava::core::ErrorReport report_;
    std::vector<Folder> folders_;
    std::vector<std::size_t> walkOrder_;
    std::size_t renamed_ = 0;  // the folder of 500 files renamed at noon
    std::size_t nextNumber_ = 0;
    std::string text_;
};

File Day::newFile(std::size_t number, std::int64_t modified) {
    std::string name = FileWords[random_.below(std::size(FileWords))];
    name += ' ';
    name += std::to_string(number);
    name += Extensions[random_.below(std::size(Extensions))];
    // One file in ten is empty; the others span bytes to gigabytes.
    const std::uint64_t size =
        random_.below(10) == 0 ? 0 : random_.below(1ULL << (random_.below(33) + 1));
    return {std::move(name), size, modified, {}};
}

void Day::setLine(const Folder& folder, File& file) {
    file.line = folder.path;
    file.line += '/';
    file.line += file.name;
    file.line += '|';
    file.line += kestrava::engine::ConvertSize(static_cast<double>(file.size), separator_, report_);
    file.line += '|';
    dates_.append(file.modified, file.line);
    file.line += "\r\n";
}

// Breadth-first from the chosen folder, children in the order they were made.
void Day::listInWalkOrder() {
    walkOrder_ = {0};
    for (std::size_t at = 0; at < walkOrder_.size(); ++at) {
        const auto& children = folders_[walkOrder_[at]].children;
        walkOrder_.insert(walkOrder_.end(), children.begin(), children.end());
    }
}

void Day::makeTree(std::size_t fileCount) {
    folders_.push_back({"/srv/team", 0, {}, {}});
    const std::size_t folderCount = fileCount / 10 + 1;
    for (std::size_t number = 1; number < folderCount; ++number) {
        // Folders near the top have more folders below them than deep ones.
        std::size_t parent = random_.below(random_.below(folders_.size()) + 1);
        while (folders_[parent].depth >= DeepestLevel) {
            parent = random_.below(folders_.size());
        }
        std::string path = folders_[parent].path + '/' +
                           FolderWords[random_.below(std::size(FolderWords))] + ' ' +
                           std::to_string(number);
        folders_.push_back({std::move(path), folders_[parent].depth + 1, {}, {}});
        folders_[parent].children.push_back(number);
    }
    // The folder renamed at noon: a leaf, so that no folder below it moves too.
    renamed_ = folders_.size();
    folders_.push_back({folders_[1].path + "/Scans of the week", folders_[1].depth + 1, {}, {}});
    folders_[1].children.push_back(renamed_);
    std::vector<std::size_t> bigFolders;
    for (std::size_t index = 0; index < renamed_; index += 400) {
        bigFolders.push_back(index + random_.below(std::min<std::size_t>(400, renamed_ - index)));
    }
    for (std::size_t number = 0; number < fileCount; ++number) {
        std::size_t folder = number < RenamedFolderFiles ? renamed_
                             : random_.below(100) < 15
                                 ? bigFolders[random_.below(bigFolders.size())]
                                 : random_.below(renamed_);
        const std::int64_t modified =
            Dec7Midnight - static_cast<std::int64_t>(random_.below(3000 * SecondsPerDay));
        // One file in twenty was last changed at a midnight: its date stands alone.
        File file = newFile(
            number, random_.below(20) == 0 ? modified - modified % SecondsPerDay : modified);
        setLine(folders_[folder], file);
        folders_[folder].files.push_back(std::move(file));
    }
    nextNumber_ = fileCount;
    listInWalkOrder();
}

// Any folder with files but the one renamed at noon, which keeps its 500.
Folder& Day::someFolder() {
    for (;;) {
        Folder& folder = folders_[random_.below(renamed_)];
        if (!folder.files.empty()) {
            return folder;
        }
    }
}

void Day::changeAMinute(int entry, std::int64_t now) {
    for (int change = 0; change < ModifiedPerMinute; ++change) {
        Folder& folder = someFolder();
        File& file = folder.files[random_.below(folder.files.size())];
        file.modified = now - static_cast<std::int64_t>(random_.below(60));
        if (random_.below(3) != 0) {
            file.size = random_.below(1ULL << (random_.below(28) + 1));
        }
        setLine(folder, file);
    }
    Folder& into = someFolder();
    File added = newFile(nextNumber_++, now - static_cast<std::int64_t>(random_.below(60)));
    setLine(into, added);
    into.files.insert(
        into.files.begin() + static_cast<std::ptrdiff_t>(random_.below(into.files.size() + 1)),
        std::move(added));
    Folder& from = someFolder();
    from.files.erase(from.files.begin() +
                     static_cast<std::ptrdiff_t>(random_.below(from.files.size())));
    if (entry == RenameAtEntry) {
        Folder& folder = folders_[renamed_];
        folder.path = folders_[1].path + "/Scans of the week (done)";
        for (File& file : folder.files) {
            setLine(folder, file);
        }
    }
}

void Day::writeEntry(std::FILE* log, std::int64_t now) {
    text_ = "[";
    dates_.append(now, text_);
    text_ += "]\r\nFile|Size|Date Modified\r\n";
    for (const std::size_t index : walkOrder_) {
        for (const File& file : folders_[index].files) {
            text_ += file.line;
        }
    }
    if (std::fwrite(text_.data(), 1, text_.size(), log) != text_.size()) {
        std::perror("generate-day");
        std::exit(EXIT_FAILURE);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    QString localeName = QStringLiteral("en_US");
    if (argc > 2 && std::strcmp(argv[1], "--locale") == 0) {
        localeName = QString::fromUtf8(argv[2]);
        argc -= 2;
        argv += 2;
    }
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate-day [--locale NAME] LOG [FILES] [SEED]\n");
        return EXIT_FAILURE;
    }
    const std::size_t files = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 50000;
    if (files < RenamedFolderFiles + 1000) {
        std::fprintf(stderr, "generate-day: at least %zu files\n", RenamedFolderFiles + 1000);
        return EXIT_FAILURE;
    }
    std::FILE* log = std::fopen(argv[1], "wb");
    if (log == nullptr) {
        std::perror(argv[1]);
        return EXIT_FAILURE;
    }
    Day day(QLocale(localeName), argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 1);
    day.makeTree(files);
    // The window's timer drifts a little past the minute; the first entry is just after
    // midnight.
    for (int entry = 0; entry < EntriesPerDay; ++entry) {
        const std::int64_t now = Dec7Midnight + entry * 60 + 7;
        if (entry > 0) {
            day.changeAMinute(entry, now);
        }
        day.writeEntry(log, now);
    }
    if (std::fclose(log) != 0) {
        std::perror(argv[1]);
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
