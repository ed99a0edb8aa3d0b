#include "platform/posix/PosixFileSystem.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include <filesystem>
#include <functional>
#include <map>

#include "platform/RuntimeError.h"
#include "support/TemporaryFolder.h"

namespace kestrava::platform {
namespace {

namespace fs = std::filesystem;

// A test that would hang if something blocked ends with a signal instead.
class NoBlocking {
public:
    NoBlocking() { ::alarm(20); }
    ~NoBlocking() { ::alarm(0); }
};

class PosixFileSystemTest : public ::testing::Test {
protected:
    std::map<std::string, EntryInfo> listing(const fs::path& path) const {
        std::map<std::string, EntryInfo> entries;
        const auto folder = fileSystem.listFolder(path.string());
        FolderEntry entry;
        while (folder->next(entry)) {
            EXPECT_TRUE(entries.emplace(std::string(entry.name), entry.info).second) << entry.name;
        }
        return entries;
    }

    static int ErrorNumberOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const RuntimeError& error) {
            return error.number();
        }
        return 0;
    }

    testing::TemporaryFolder folder;
    PosixFileSystem fileSystem;
    NoBlocking noBlocking;
};

TEST_F(PosixFileSystemTest, ListsEveryEntryOnceWithWhatTheWalkNeeds) {
    const auto file = folder.writeFile("notes.txt", "hello");
    const struct timespec times[2] = {{1796551200, 0}, {1796551200, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    folder.writeFile(".hidden");
    fs::create_directory(folder.path() / "Archive");
    fs::create_symlink("notes.txt", folder.path() / "to-file");
    fs::create_directory_symlink("Archive", folder.path() / "to-folder");
    fs::create_symlink("nowhere", folder.path() / "dangling");
    fs::create_symlink("loop", folder.path() / "loop");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0600), 0);

    const auto entries = listing(folder.path());

    ASSERT_EQ(entries.size(), 8u);
    const EntryInfo& notes = entries.at("notes.txt");
    EXPECT_EQ(notes.kind, EntryKind::File);
    EXPECT_EQ(notes.attributes, 0u);
    EXPECT_EQ(notes.size, 5u);
    EXPECT_EQ(notes.modifiedSeconds, 1796551200);
    EXPECT_EQ(entries.at(".hidden").kind, EntryKind::File);
    EXPECT_EQ(entries.at(".hidden").attributes, attribute::Hidden);
    EXPECT_EQ(entries.at("Archive").kind, EntryKind::Folder);
    EXPECT_EQ(entries.at("Archive").attributes, attribute::Directory);
    // A link to a file is that file, marked as a reparse point.
    EXPECT_EQ(entries.at("to-file").kind, EntryKind::File);
    EXPECT_EQ(entries.at("to-file").attributes, attribute::ReparsePoint);
    EXPECT_EQ(entries.at("to-file").size, 5u);
    EXPECT_EQ(entries.at("to-file").modifiedSeconds, 1796551200);
    EXPECT_EQ(entries.at("to-folder").kind, EntryKind::Folder);
    EXPECT_EQ(entries.at("to-folder").attributes, attribute::Directory | attribute::ReparsePoint);
    EXPECT_EQ(entries.at("dangling").kind, EntryKind::Other);
    EXPECT_EQ(entries.at("loop").kind, EntryKind::Other);
    EXPECT_EQ(entries.at("pipe").kind, EntryKind::Other);
}

TEST_F(PosixFileSystemTest, AFolderThatIsMissingOrNoFolderIsPathNotFound) {
    folder.writeFile("file");
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0600), 0);
    for (const char* name : {"missing", "file", "pipe"}) {
        EXPECT_EQ(ErrorNumberOf([&] { fileSystem.listFolder((folder.path() / name).string()); }),
                  error_number::PathNotFound)
            << name;
    }
    EXPECT_EQ(listing(folder.path() / "").size(), 2u);  // a trailing separator is fine
}

TEST_F(PosixFileSystemTest, AppendsToAFileItCreatesForItsOwnerAlone) {
    const auto log = folder.path() / "log.txt";
    fileSystem.openForAppending(log.string())->append("one\r\n");
    const auto file = fileSystem.openForAppending(log.string());
    file->append("two\r\n");
    file->append("three\r\n");
    EXPECT_EQ(testing::ReadWholeFile(log), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(fs::status(log).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

// The lock keeps a second writer out for as long as the first holds the file, also a
// writer in another process; a file deleted meanwhile leaves the name to a new one.
TEST_F(PosixFileSystemTest, OneWriterAtATimeHoldsTheFile) {
    const auto log = (folder.path() / "log.txt").string();
    auto first = fileSystem.openForAppending(log);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(fileSystem.openForAppending(log), nullptr);
    const pid_t child = ::fork();
    if (child == 0) {
        ::_exit(PosixFileSystem().openForAppending(log) == nullptr ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_EQ(WEXITSTATUS(status), 0) << "another process took the lock";

    fs::remove(log);
    const auto second = fileSystem.openForAppending(log);
    ASSERT_NE(second, nullptr) << "a deleted file's lock kept the new file locked";
    second->append("new\n");
    first->append("into the deleted file\n");
    first.reset();
    EXPECT_EQ(testing::ReadWholeFile(log), "new\n");
}

TEST_F(PosixFileSystemTest, AnAppendThatCantOpenFailsWithoutBlocking) {
    folder.writeFile("file");
    EXPECT_EQ(
        ErrorNumberOf([&] {
            fileSystem.openForAppending((folder.path() / "file" / "log.txt").string())->append("x");
        }),
        error_number::PathNotFound);
    // A FIFO without a reader where the log should be: an error, not a wait.
    const auto pipe = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_NE(ErrorNumberOf([&] { fileSystem.openForAppending(pipe.string())->append("x"); }), 0);
}

// A disk that fills up in the middle of a chunk must not leave half a line behind.
TEST_F(PosixFileSystemTest, AnAppendThatFailsPartWayLeavesTheFileAsItWas) {
    const auto log = folder.writeFile("log.txt", "old\n");
    struct rlimit previous {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = previous;
    small.rlim_cur = 10;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    const int number =
        ErrorNumberOf([&] { fileSystem.openForAppending(log.string())->append("0123456789\n"); });

    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_NE(number, 0);
    EXPECT_EQ(testing::ReadWholeFile(log), "old\n");
}

// Where the log lies in a folder that others can write to, another user may plant a
// link to a file of the user's, or a file of their own, before the first snapshot.
TEST_F(PosixFileSystemTest, AnAppendNeverFollowsALink) {
    const auto target = folder.writeFile("private.txt", "mine\n");
    const auto log = folder.path() / "log.txt";
    fs::create_symlink(target, log);
    const auto dangling = folder.path() / "dangling.txt";
    fs::create_symlink(folder.path() / "would-be-made.txt", dangling);

    EXPECT_EQ(ErrorNumberOf([&] { fileSystem.openForAppending(log.string())->append("x"); }),
              error_number::PermissionDenied);
    EXPECT_EQ(ErrorNumberOf([&] { fileSystem.openForAppending(dangling.string())->append("x"); }),
              error_number::PermissionDenied);
    EXPECT_NE(ErrorNumberOf([&] { fileSystem.readFile(log.string(), [](std::string_view) {}); }),
              0);
    EXPECT_EQ(testing::ReadWholeFile(target), "mine\n");
    EXPECT_FALSE(fs::exists(folder.path() / "would-be-made.txt"));
}

TEST_F(PosixFileSystemTest, AnAppendNeverWritesToAnotherUsersFile) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give a file to another user (CI runs as root)";
    }
    const auto log = folder.writeFile("log.txt", "planted\n");
    ASSERT_EQ(::chown(log.c_str(), 65534, 65534), 0);
    ::chmod(log.c_str(), 0666);

    EXPECT_EQ(ErrorNumberOf([&] { fileSystem.openForAppending(log.string())->append("x"); }),
              error_number::PermissionDenied);
    EXPECT_EQ(testing::ReadWholeFile(log), "planted\n");
}

// The history log is read at any offset while the window may go on appending to it.
TEST_F(PosixFileSystemTest, ReadsAPlainFileAtAnyOffsetAsLargeAsItWasWhenOpened) {
    const auto log = folder.writeFile("log.txt", "0123456789");
    const auto file = fileSystem.openForReading(log.string());
    fileSystem.openForAppending(log.string())->append("appended");

    std::string buffer(8, '.');
    EXPECT_EQ(file->size(), 10u);
    EXPECT_EQ(file->readAt(6, buffer), 8u);  // reads go on to the file's real end
    EXPECT_EQ(buffer, "6789appe");
    EXPECT_EQ(file->readAt(100, buffer), 0u);
}

TEST_F(PosixFileSystemTest, ReadsNothingButAPlainFileAndNeverBlocks) {
    ASSERT_EQ(::mkfifo((folder.path() / "pipe").c_str(), 0600), 0);
    fs::create_symlink(folder.writeFile("target.txt", "x"), folder.path() / "link.txt");

    EXPECT_EQ(fileSystem.openForReading((folder.path() / "link.txt").string())->size(), 1u);
    for (const std::string& path :
         {(folder.path() / "pipe").string(), folder.string(), std::string("/dev/null")}) {
        EXPECT_EQ(ErrorNumberOf([&] { fileSystem.openForReading(path); }),
                  error_number::PathFileAccessError)
            << path;
    }
    EXPECT_EQ(ErrorNumberOf([&] { fileSystem.openForReading(folder.string() + "/missing"); }),
              error_number::PathNotFound);
}

TEST_F(PosixFileSystemTest, MakesAPathAbsoluteByItsNames) {
    const std::string current = fs::current_path().string();
    EXPECT_EQ(fileSystem.absolutePath("a/./b/../c/"), current + "/a/c/");
    EXPECT_EQ(fileSystem.absolutePath("."), current + "/");
    EXPECT_EQ(fileSystem.absolutePath("/x/../y"), "/x/../y");
}

}  // namespace
}  // namespace kestrava::platform
