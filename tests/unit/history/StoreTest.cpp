#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "history/EntryHeader.h"
#include "history/FileLine.h"
#include "history/StoreBuilder.h"
#include "history/StoreBytes.h"
#include "history/StoreFile.h"
#include "platform/RuntimeError.h"
#include "unit/history/WrittenStores.h"

namespace kestrava::history {
namespace {

struct Entry {
    std::string head;
    std::string files;
};

std::string Head(int number) {
    return "[12/7/2026 " + std::to_string(number) + ":00:07 AM]\r\nFile|Size|Date Modified\r\n";
}

// Entries of one tree that change as trees do, and as they rarely do: files changed in
// place, come and gone anywhere, a run of them moved elsewhere (nothing lines up by
// position), lines the same twice, lines that name no file, a line feed without its
// carriage return, "|" and "?" in names, and an entry with no files at all.
std::vector<Entry> ChangingEntries(int count, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::string> lines;
    for (int file = 0; file < 300; ++file) {
        lines.push_back("C:\\tree\\folder " + std::to_string(file / 10) + "\\name|" +
                        std::to_string(file) + "?.txt|" + std::to_string(file) +
                        " KB|12/6/2026 10:00:00 AM\r\n");
    }
    lines.push_back("a line that names no file\r\n");
    lines.push_back("C:\\tree\\twice.txt|1 Bytes|12/6/2026\r\n");
    lines.push_back("C:\\tree\\twice.txt|1 Bytes|12/6/2026\r\n");
    lines.push_back("C:\\tree\\lf only.txt|2 Bytes|12/6/2026\n");
    std::vector<Entry> entries;
    for (int number = 0; number < count; ++number) {
        const auto pick = [&] { return random() % lines.size(); };
        for (int changed = 0; changed < 5; ++changed) {
            lines[pick()].insert(0, "x");
        }
        lines.insert(lines.begin() + static_cast<long>(pick()),
                     "C:\\tree\\new " + std::to_string(number) + ".txt|0 Bytes|12/7/2026\r\n");
        lines.erase(lines.begin() + static_cast<long>(pick()));
        if (number % 17 == 5) {
            std::rotate(lines.begin(), lines.begin() + 40, lines.end());
        }
        std::string files;
        for (const std::string& line : lines) {
            files += line;
        }
        entries.push_back({Head(number), number % 23 == 7 ? std::string() : files});
    }
    entries.back().files += "an unended last line|1|2";
    return entries;
}

StoreContent Build(const std::vector<Entry>& entries, std::size_t from, std::size_t to,
                   StoreContent start = {}) {
    StoreBuilder builder(std::move(start));
    for (std::size_t at = from; at < to; ++at) {
        builder.add({entries[at].head, 1, 0, {}}, entries[at].files);
    }
    return builder.finish();
}

void ExpectEveryEntryBack(StoreReader& reader, const std::vector<Entry>& entries) {
    ASSERT_EQ(reader.count(), entries.size());
    for (std::size_t at = 0; at < entries.size(); ++at) {
        const auto number = static_cast<std::int64_t>(at + 1);
        EXPECT_EQ(reader.facts(at, number).head, entries[at].head);
        EXPECT_EQ(reader.files(at, number), entries[at].files) << "entry " << number;
    }
}

TEST(HistoryStore, EveryEntryComesBackByteForByteAlsoAfterTheStoreIsContinued) {
    const std::vector<Entry> entries = ChangingEntries(150, 7);

    StoreReader whole("whole", EncodeStore(Build(entries, 0, entries.size())));
    StoreReader first("first", EncodeStore(Build(entries, 0, 100)));
    StoreReader continued("continued",
                          EncodeStore(Build(entries, 100, entries.size(), first.content())));

    ExpectEveryEntryBack(whole, entries);
    ExpectEveryEntryBack(continued, entries);
    ExpectEveryEntryBack(first, std::vector<Entry>(entries.begin(), entries.begin() + 100));
}

// A stored entry's date must read as the text log's readers read it, whatever the line
// holds: the commands say of it what they said while it was in the text log.
TEST(HistoryStore, AStoredEntrysDateIsItsDateLineAsTheTextLogReadsIt) {
    for (const std::string line : {"[12/6/2026 10:00:00 AM]", "[a]b]", "[x]\ry]", "[]"}) {
        std::size_t at = 0;
        const std::string head = line + "\r\nFile|Size|Date Modified\r\n";
        EXPECT_EQ(DateOfHead(head), DateOfLine(NextLine(head, at)).value()) << line;
    }
    EXPECT_EQ(DateOfHead("[a]b]\nFile|Size|Date Modified\n"), "a]b");
}

// Asked first for a late entry, the reader decodes all the blocks before it at once;
// asked then for entries whose blocks it has decoded and some it hasn't, it gives each
// back the same, whether joined or a line at a time.
TEST(HistoryStore, EntriesReadInAnyOrderAcrossManyBlocksComeBackByteForByte) {
    const std::vector<Entry> entries = ChangingEntries(EntriesPerBlock * 4 + 10, 3);
    const std::string bytes = EncodeStore(Build(entries, 0, entries.size()));

    for (const std::size_t start :
         {entries.size() - 1, std::size_t{EntriesPerBlock * 2 + 5}, std::size_t{0}}) {
        StoreReader reader("the store", bytes);
        for (std::size_t step = 0; step < entries.size(); step += 37) {
            const std::size_t at = (start + step) % entries.size();
            const auto number = static_cast<std::int64_t>(at + 1);
            std::string joined;
            std::size_t handed = 0;
            reader.forEachLine(at, number, [&](std::string_view line) {
                handed += 1;
                joined += line;
            });
            const std::string& files = entries[at].files;
            EXPECT_EQ(joined, files) << "entry " << number << " after " << start + 1;
            EXPECT_EQ(handed, std::count(files.begin(), files.end(), '\n') +
                                  (files.empty() || files.ends_with('\n') ? 0 : 1))
                << "entry " << number;
            EXPECT_EQ(reader.files(at, number), entries[at].files) << "entry " << number;
        }
    }
}

// Entries of a tree larger than a part of a block holds, over two blocks: the first
// block's parts are read at once, and so are the later block's, which are told against
// the first block alone. Once in the later block every file moves to another folder, so
// that it too holds more than one part.
std::vector<Entry> EntriesLargerThanAPart() {
    std::mt19937 random(11);
    std::vector<std::string> lines;
    for (std::size_t file = 0; file < VersionsPerPart * 3 / 2; ++file) {
        lines.push_back("/tree/folder " + std::to_string(file / 50) + "/file " +
                        std::to_string(file) + ".txt|" + std::to_string(file % 999) +
                        " KB|12/6/2026 10:" + std::to_string(10 + file % 50) + ":00 AM\r\n");
    }
    std::vector<Entry> entries;
    for (std::size_t number = 0; number < EntriesPerBlock + 6; ++number) {
        for (int changed = 0; changed < 7; ++changed) {
            lines[random() % lines.size()].insert(0, "/x");
        }
        lines.insert(lines.begin() + static_cast<long>(random() % lines.size()),
                     "/tree/new " + std::to_string(number) + ".txt|0 Bytes|12/7/2026\r\n");
        lines.erase(lines.begin() + static_cast<long>(random() % lines.size()));
        if (number == EntriesPerBlock + 3) {
            for (std::string& line : lines) {
                line.insert(0, "/moved");
            }
        }
        std::string files;
        for (const std::string& line : lines) {
            files += line;
        }
        entries.push_back({Head(static_cast<int>(number)), files});
    }
    return entries;
}

TEST(HistoryStore, EntriesOfTreesLargerThanAPartComeBackByteForByte) {
    const std::vector<Entry> entries = EntriesLargerThanAPart();
    const std::string bytes = EncodeStore(Build(entries, 0, entries.size()));

    StoreReader latestFirst("the store", bytes);
    const auto last = static_cast<std::int64_t>(entries.size());
    EXPECT_EQ(latestFirst.files(entries.size() - 1, last), entries.back().files);
    ExpectEveryEntryBack(latestFirst, entries);
    StoreReader inOrder("the store", bytes);
    ExpectEveryEntryBack(inOrder, entries);
}

TEST(HistoryStore, ALineThatStaysTheSameIsStoredOnce) {
    std::vector<Entry> entries;
    std::string files;
    for (int file = 0; file < 2000; ++file) {
        files += "/tree/file " + std::to_string(file) + "|1 KB|12/6/2026 10:00:00 AM\r\n";
    }
    for (int number = 0; number < 200; ++number) {
        entries.push_back({Head(number), files});
    }

    const std::string once = EncodeStore(Build(entries, 0, 1));
    const std::string many = EncodeStore(Build(entries, 0, entries.size()));

    EXPECT_LT(many.size(), once.size() + 200 * 64);
}

class DamagedStore : public ::testing::Test {
protected:
    DamagedStore()
        : entries(ChangingEntries(150, 11)), bytes(EncodeStore(Build(entries, 0, 150))) {}

    // Where the newest block of lines begins: that of entries 129 on.
    std::size_t newestBlock() const { return bytes.rfind("LINE"); }

    // The index rewritten by `rewrite`, framed and checked as the store's own.
    void rewriteIndex(const std::function<std::string(const std::string& index)>& rewrite) {
        const std::size_t indexAt = StoreHeaderSize;
        ByteReader frame(std::string_view(bytes).substr(indexAt + 4, 8));
        const std::uint32_t rawSize = frame.fixed32();
        const std::uint32_t storedSize = frame.fixed32();
        std::string index;
        ASSERT_TRUE(
            Inflate(std::string_view(bytes).substr(indexAt + 16, storedSize), rawSize, index));
        const std::string rewritten = rewrite(index);
        const std::string deflated = Deflate(rewritten);
        std::string framed = "INDX";
        PutFixed32(framed, static_cast<std::uint32_t>(rewritten.size()));
        PutFixed32(framed, static_cast<std::uint32_t>(deflated.size()));
        PutFixed32(framed, Checksum(deflated, Checksum(framed)));
        bytes.replace(indexAt, 16 + storedSize, framed + deflated);
    }

    std::string message(StoreReader& reader, std::size_t at) const {
        try {
            reader.files(at, static_cast<std::int64_t>(at + 1));
        } catch (const platform::RuntimeError& error) {
            return error.description();
        }
        return "read";
    }

    std::vector<Entry> entries;
    std::string bytes;
};

TEST_F(DamagedStore, AFlippedByteCostsTheEntriesThatNeedItsBlockAndNamesThem) {
    bytes[newestBlock() + 40] ^= 0x10;
    StoreReader reader("the store", bytes);

    EXPECT_EQ(reader.files(127, 128), entries[127].files);
    EXPECT_EQ(message(reader, 129)
                  .rfind("entry 130 can't be read from the history store the store: "
                         "the block at byte ",
                         0),
              0U)
        << message(reader, 129);
    EXPECT_NE(message(reader, 129).find("checksum"), std::string::npos);
    EXPECT_THROW(reader.content(), platform::RuntimeError);
}

// A block whose checksum holds but whose columns don't inflate, among blocks decoded at
// once.
TEST_F(DamagedStore, ABlockThatDoesNotInflateCostsItsEntriesAndThoseAfterIt) {
    const std::size_t second = bytes.find("LINE", bytes.find("LINE") + 4);
    bytes[second + 40] ^= 0x10;
    ByteReader frame(std::string_view(bytes).substr(second + 8, 4));
    const std::uint32_t stored = frame.fixed32();
    std::string checksum;
    PutFixed32(checksum, Checksum(std::string_view(bytes).substr(second + 16, stored),
                                  Checksum(std::string_view(bytes).substr(second, 12))));
    bytes.replace(second + 12, 4, checksum);
    StoreReader reader("the store", bytes);

    EXPECT_NE(message(reader, 149).find("entry 150 can't be read"), std::string::npos);
    EXPECT_NE(message(reader, 70).find("the block at byte"), std::string::npos);
    EXPECT_EQ(reader.files(63, 64), entries[63].files);
}

// A block whose lines all rebuild, but not as many as the index says, is damaged too: the
// entries of the blocks before it, read afterwards, hold none of its lines. (The first
// line stays the same throughout, where a place of the damaged block mistaken for one
// read would show it twice.)
TEST_F(DamagedStore, ABlockFoundDamagedOnceRebuiltLeavesTheEntriesBeforeItWhole) {
    for (Entry& entry : entries) {
        entry.files.insert(0, "C:\\steady.txt|1 KB|12/6/2026\r\n");
    }
    bytes = EncodeStore(Build(entries, 0, entries.size()));
    // The index's places of the blocks: entries, versions, blocks, then four numbers a
    // block (its first entry, its versions, its offset, its size).
    rewriteIndex([](const std::string& index) {
        ByteReader in(index);
        std::string rewritten;
        for (int number = 0; number < 3; ++number) {
            PutNumber(rewritten, in.number());
        }
        for (int block = 0; block < 3; ++block) {
            for (int field = 0; field < 4; ++field) {
                const std::uint64_t value = in.number();
                PutNumber(rewritten, block == 2 && field == 1 ? value + 1 : value);
            }
        }
        return rewritten + index.substr(in.offset());
    });
    StoreReader reader("the store", bytes);

    EXPECT_NE(message(reader, 149).find("is damaged"), std::string::npos);
    for (std::size_t at = EntriesPerBlock; at < EntriesPerBlock * 2; ++at) {
        EXPECT_EQ(reader.files(at, static_cast<std::int64_t>(at + 1)), entries[at].files)
            << "entry " << at + 1;
    }
}

// An index that lists entries but no block of lines for them, its checksum whole: each
// entry is said damaged, where reading the first block would have read past the blocks.
TEST_F(DamagedStore, AnIndexOfEntriesWithNoBlockIsDamaged) {
    rewriteIndex([](const std::string& index) {
        ByteReader in(index);
        std::string rewritten;
        PutNumber(rewritten, in.number());
        PutNumber(rewritten, in.number());
        const std::uint64_t blocks = in.number();
        PutNumber(rewritten, 0);
        for (std::uint64_t field = 0; field < blocks * 4; ++field) {
            in.number();
        }
        return rewritten + index.substr(in.offset());
    });
    StoreReader reader("the store", bytes);

    EXPECT_EQ(reader.count(), 150U);
    EXPECT_EQ(message(reader, 0),
              "entry 1 can't be read from the history store the store: its index is damaged");
}

TEST_F(DamagedStore, ACutStoreStillGivesTheEntriesBeforeTheCut) {
    bytes.resize(newestBlock() + 100);
    StoreReader reader("the store", bytes);

    EXPECT_EQ(reader.files(0, 1), entries[0].files);
    EXPECT_NE(message(reader, 149).find("entry 150 can't be read"), std::string::npos);
    EXPECT_NE(message(reader, 149).find("ends in the middle of the block"), std::string::npos);
}

TEST_F(DamagedStore, ADamagedIndexOrANewerFormatIsSaidForEachEntry) {
    std::string damagedIndex = bytes;
    damagedIndex[StoreHeaderSize + 20] ^= 0x01;
    std::string newer = bytes;
    newer[StoreFormatName.size()] = static_cast<char>(StoreFormatVersion + 1);
    const std::string header = newer.substr(0, StoreHeaderSize - 4);
    newer.replace(StoreHeaderSize - 4, 4, [&] {
        std::string checksum;
        PutFixed32(checksum, Checksum(header));
        return checksum;
    }());

    StoreReader index("the store", damagedIndex);
    StoreReader later("the store", newer);

    EXPECT_EQ(index.count(), 150U);
    EXPECT_EQ(message(index, 3),
              "entry 4 can't be read from the history store the store: the "
              "block at byte 64 is damaged (its checksum fails)");
    EXPECT_EQ(later.count(), 150U);
    EXPECT_EQ(message(later, 0),
              "entry 1 can't be read from the history store the store: it is "
              "of a newer format (version 3) than this program reads (version "
              "2)");
}

TEST_F(DamagedStore, AFileThatIsNoStoreOrDamagedInItsHeaderIsRefused) {
    std::string header = bytes;
    header[30] ^= 0x01;

    EXPECT_THROW(StoreReader("x", "File|Size|Date Modified"), platform::RuntimeError);
    EXPECT_THROW(StoreReader("x", header), platform::RuntimeError);
    EXPECT_THROW(StoreReader("x", bytes.substr(0, 40)), platform::RuntimeError);
}

// A store written by kestrava-log on Linux and one written by kestrava-log.exe read
// here, on either, and so do those the first version of the format wrote: their entries
// are the text log's bytes.
TEST(HistoryStore, StoresWrittenOnEitherPlatformInEitherVersionReadTheSame) {
    namespace stores = testing::stores;
    for (const auto& [log, store, version] :
         {std::tuple(stores::WrittenOnLinuxLog, stores::WrittenOnLinuxStore, StoreFormatVersion),
          std::tuple(stores::WrittenOnWindowsLog, stores::WrittenOnWindowsStore,
                     StoreFormatVersion),
          std::tuple(stores::Version1WrittenOnLinuxLog, stores::Version1WrittenOnLinuxStore, 1U),
          std::tuple(stores::Version1WrittenOnWindowsLog, stores::Version1WrittenOnWindowsStore,
                     1U)}) {
        EXPECT_EQ(ByteReader(store.substr(StoreFormatName.size())).fixed32(), version);
        StoreReader reader("written", std::string(store));
        std::string entries;
        for (std::size_t at = 0; at < reader.count(); ++at) {
            const auto number = static_cast<std::int64_t>(at + 1);
            entries += reader.facts(at, number).head + reader.files(at, number);
        }
        EXPECT_GE(reader.count(), 2U);
        EXPECT_EQ(entries, log);
    }
}

}  // namespace
}  // namespace kestrava::history
