// Builds a deterministic folder tree for the benchmarks: the same arguments give the
// same folders, names, sizes and times on every run.
//
//   generate-tree [--western] ROOT [FILES] [SEED]
//
// About ten files per folder, folders up to eight levels deep, a few folders with
// thousands of files; names with spaces and non-ASCII letters, dot-files and "~" files
// (with --western only letters that a Western European code page holds, so that a
// Windows program can walk every folder);
// sizes from 0 bytes to gigabytes as sparse files (they take no disk space); times
// spread over thirty years, some of them exactly at midnight.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/Random.h"

namespace {

using kestrava::bench::Random;

struct Folder {
    std::string path;
    int depth;
};

constexpr int DeepestLevel = 8;

struct Words {
    const char* folders[10];
    const char* files[10];
};

constexpr Words AllWords = {{"Archive", "Projects 2024", "Übersicht", "データ", "notes",
                             "Ordner mit Leerzeichen", "src", "Фото", "build output", "Mañana"},
                            {"report", "Résumé final", "photo", "データ ファイル", "readme",
                             "Ärger über Öl", "data", "слайд", "backup copy", "notes"}};
constexpr Words WesternWords = {
    {"Archive", "Projects 2024", "Übersicht", "Données", "notes", "Ordner mit Leerzeichen", "src",
     "Fotografías", "build output", "Mañana"},
    {"report", "Résumé final", "photo", "Datei für später", "readme", "Ärger über Öl", "data",
     "diapositive", "backup copy", "notes"}};
const char* const Extensions[] = {".txt", ".pdf", ".jpg", ".bin", "", ".tar.gz", ".docx", ".md"};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "generate-tree: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(EXIT_FAILURE);
}

std::string FolderName(Random& random, const Words& words, std::size_t number) {
    std::string name = random.below(20) == 0 ? "." : "";
    name += words.folders[random.below(std::size(words.folders))];
    name += ' ';
    name += std::to_string(number);
    return name;
}

std::string FileName(Random& random, const Words& words, std::size_t number) {
    std::string name;
    const auto kind = random.below(100);
    if (kind < 5) {
        name = ".";  // a dot-file
    } else if (kind < 8) {
        name = "~";  // a lock or backup file the snapshot leaves out
    }
    name += words.files[random.below(std::size(words.files))];
    name += ' ';
    name += std::to_string(number);
    name += Extensions[random.below(std::size(Extensions))];
    return name;
}

// Mostly small files, some large ones, a few of gigabytes.
std::int64_t FileSize(Random& random) {
    const auto kind = random.below(100);
    if (kind < 5) {
        return 0;
    }
    if (kind < 45) {
        return static_cast<std::int64_t>(random.below(1024));
    }
    if (kind < 75) {
        return static_cast<std::int64_t>(random.below(1024 * 1024));
    }
    if (kind < 95) {
        return static_cast<std::int64_t>(random.below(200LL * 1024 * 1024));
    }
    return static_cast<std::int64_t>(random.below(8LL * 1024 * 1024 * 1024));
}

// From 2000 to 2030; one time in twenty exactly at a midnight (UTC).
std::int64_t FileTime(Random& random) {
    constexpr std::int64_t Year2000 = 946684800;
    constexpr std::int64_t ThirtyYears = 30LL * 365 * 86400;
    std::int64_t time = Year2000 + static_cast<std::int64_t>(random.below(ThirtyYears));
    if (random.below(20) == 0) {
        time -= time % 86400;
    }
    return time;
}

void MakeFile(const std::string& path, std::int64_t size, std::int64_t time) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        Fail(path);
    }
    if (size > 0 && ::ftruncate(fd, size) != 0) {
        Fail(path);
    }
    const struct timespec times[2] = {{time, 0}, {time, 0}};
    if (::futimens(fd, times) != 0) {
        Fail(path);
    }
    ::close(fd);
}

}  // namespace

int main(int argc, char* argv[]) {
    const bool western = argc > 1 && std::strcmp(argv[1], "--western") == 0;
    if (western) {
        --argc;
        ++argv;
    }
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: generate-tree [--western] ROOT [FILES] [SEED]\n");
        return EXIT_FAILURE;
    }
    const Words& words = western ? WesternWords : AllWords;
    const std::string root = argv[1];
    const std::size_t fileCount = argc > 2 ? std::strtoull(argv[2], nullptr, 10) : 100000;
    Random random(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 20260607);

    if (::mkdir(root.c_str(), 0755) != 0 && errno != EEXIST) {
        Fail(root);
    }
    // One folder in 400 holds thousands of files; the rest about ten each.
    std::vector<Folder> folders{{root, 0}};
    const std::size_t folderCount = fileCount / 10 + 1;
    for (std::size_t number = 1; number < folderCount; ++number) {
        const Folder* parent = &folders[random.below(folders.size())];
        while (parent->depth >= DeepestLevel) {
            parent = &folders[random.below(folders.size())];
        }
        Folder folder{parent->path + '/' + FolderName(random, words, number), parent->depth + 1};
        if (::mkdir(folder.path.c_str(), 0755) != 0) {
            Fail(folder.path);
        }
        folders.push_back(std::move(folder));
    }
    std::vector<std::size_t> bigFolders;
    for (std::size_t index = 0; index < folders.size(); index += 400) {
        bigFolders.push_back(index +
                             random.below(std::min<std::size_t>(400, folders.size() - index)));
    }
    for (std::size_t number = 0; number < fileCount; ++number) {
        const bool intoBigFolder = random.below(100) < 15;
        const std::size_t folder = intoBigFolder ? bigFolders[random.below(bigFolders.size())]
                                                 : random.below(folders.size());
        MakeFile(folders[folder].path + '/' + FileName(random, words, number), FileSize(random),
                 FileTime(random));
    }
    std::printf("%zu files in %zu folders under %s\n", fileCount, folders.size(), root.c_str());
    return EXIT_SUCCESS;
}
