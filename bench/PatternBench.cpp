// Path patterns: the matcher against the C library's fnmatch (FNM_PATHNAME), the same
// patterns over the same paths in the same run, and the whole filter per path.
//
//   pattern-bench [PATHS] [RUNS]

#include <fnmatch.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/Median.h"
#include "bench/Random.h"
#include "history/PathFilter.h"

namespace {

using kestrava::bench::Median;
using kestrava::bench::Random;
using kestrava::history::Glob;
using kestrava::history::PathFilter;
using kestrava::history::PatternKind;
using kestrava::history::PatternRules;

// Paths as a home folder's tree holds them: one to eight folders deep, a name and an
// extension of a few common kinds.
std::vector<std::string> MakePaths(std::size_t count) {
    const char* folders[] = {"src",    "docs",     "build",   "node_modules", "cache",
                             "photos", "2026",     "Archive", "lib",          "old",
                             "work",   "projects", "music",   "tmp"};
    const char* extensions[] = {".txt", ".pdf", ".jpg", ".tmp", ".js", ".o", ".docx", ".c"};
    Random random(27);
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t index = 0; index < count; ++index) {
        std::string path;
        const std::size_t depth = 1 + random.below(8);
        for (std::size_t level = 0; level < depth; ++level) {
            path += folders[random.below(std::size(folders))];
            path += '/';
        }
        path += "file " + std::to_string(random.below(100000));
        path += extensions[random.below(std::size(extensions))];
        paths.push_back(std::move(path));
    }
    return paths;
}

template <typename Work>
double Seconds(Work work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Globs as whole-path patterns, each of the kinds people write.
const std::vector<std::string> Globs = {"*.tmp",          "node_modules", "build/*/*.o",
                                        "docs/**/*.pdf",  "**/cache/**",  "*[0-9][0-9].jpg",
                                        "src/*/file 1?.c"};

}  // namespace

int main(int argc, char** argv) {
    const std::size_t count = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    const std::vector<std::string> paths = MakePaths(count);
    constexpr PatternRules rules{false, false};

    std::vector<Glob> globs;
    std::vector<Glob> caseless;
    for (const std::string& pattern : Globs) {
        globs.emplace_back(pattern, rules);
        caseless.emplace_back(pattern, PatternRules{true, false});
    }
    PathFilter filter(rules);
    for (const char* pattern : {"node_modules/", "*.tmp", "/build/", "**/cache/**", "docs/**/*.pdf",
                                "*~*", "[Tt]humbs.db", "$RECYCLE.BIN/"}) {
        filter.add(PatternKind::Exclude, pattern);
    }

    std::vector<double> ours;
    std::vector<double> oursCaseless;
    std::vector<double> reference;
    std::vector<double> filtered;
    std::vector<double> walked;
    std::size_t matchedByUs = 0;
    std::size_t matchedCaseless = 0;
    std::size_t matchedByReference = 0;
    std::size_t kept = 0;
    std::size_t keptInWalk = 0;
    for (int run = 0; run < runs; ++run) {
        matchedByUs = matchedCaseless = matchedByReference = kept = keptInWalk = 0;
        ours.push_back(Seconds([&] {
            for (const std::string& path : paths) {
                for (const Glob& glob : globs) {
                    matchedByUs += glob.matches(path);
                }
            }
        }));
        oursCaseless.push_back(Seconds([&] {
            for (const std::string& path : paths) {
                for (const Glob& glob : caseless) {
                    matchedCaseless += glob.matches(path);
                }
            }
        }));
        reference.push_back(Seconds([&] {
            for (const std::string& path : paths) {
                for (const std::string& pattern : Globs) {
                    matchedByReference += fnmatch(pattern.c_str(), path.c_str(), FNM_PATHNAME) == 0;
                }
            }
        }));
        filtered.push_back(Seconds([&] {
            for (const std::string& path : paths) {
                kept += filter.keeps(path, false);
            }
        }));
        walked.push_back(Seconds([&] {
            for (const std::string& path : paths) {
                keptInWalk += filter.keepsInWalkedFolder(path, false);
            }
        }));
    }
    const double matches = static_cast<double>(paths.size() * Globs.size());
    std::printf("%zu paths, %zu patterns, median of %d runs\n", paths.size(), Globs.size(), runs);
    std::printf("Glob::matches   %7.1f ns a match  (%zu matched)\n", Median(ours) / matches * 1e9,
                matchedByUs);
    std::printf("... case ignored %6.1f ns a match  (%zu matched)\n",
                Median(oursCaseless) / matches * 1e9, matchedCaseless);
    std::printf("fnmatch         %7.1f ns a match  (%zu matched; \"**\" is \"*\" to it)\n",
                Median(reference) / matches * 1e9, matchedByReference);
    std::printf("ratio           %7.2f (Glob / fnmatch)\n", Median(ours) / Median(reference));
    std::printf("PathFilter      %7.1f ns a path, 8 patterns and every folder above  (%zu kept)\n",
                Median(filtered) / static_cast<double>(paths.size()) * 1e9, kept);
    std::printf("... in a walk   %7.1f ns a path, the folders above already let in\n",
                Median(walked) / static_cast<double>(paths.size()) * 1e9);
}
