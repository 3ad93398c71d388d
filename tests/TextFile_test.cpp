#include "platform/TextFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "horizon/Terrain.h"
#include "models/Locations.h"
#include "platform/Bmp.h"
#include "platform/Error.h"
#include "platform/IniFile.h"
#include "platform/OutputFile.h"
#include "series/DataFile.h"
#include "support/TempDir.h"

using namespace umbrix;
using umbrix::test::TempDir;

namespace {

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& e) {
        return e.what();
    }
    return "no FileError";
}

}  // namespace

TEST(TextFile, WriteReadAndAppend) {
    TempDir dir;
    std::string path = dir.file("a.txt");
    const std::string content("one\r\ntwo\0three\n", 15);  // bytes pass unchanged
    WriteTextFile(path, content);
    EXPECT_EQ(ReadTextFile(path), content);
    AppendTextFile(path, "four");
    EXPECT_EQ(ReadTextFile(path), content + "four");
    WriteTextFile(path, "");
    EXPECT_EQ(ReadTextFile(path), "");
    // appending creates a missing file
    AppendTextFile(dir.file("new.txt"), "x\n");
    EXPECT_EQ(ReadTextFile(dir.file("new.txt")), "x\n");
}

TEST(TextFile, FailuresNameTheFileAndTheReason) {
    TempDir dir;
    std::string missing = dir.file("missing.txt");
    EXPECT_EQ(MessageOf([&] { ReadTextFile(missing); }),
              "cannot open \"" + missing + "\": No such file or directory");
    EXPECT_EQ(ReadTextFileIfExists(missing), std::nullopt);
    EXPECT_EQ(ReadTextFileIfExists(dir.file("no/such/folder.txt")), std::nullopt);
    EXPECT_EQ(MessageOf([&] { ReadTextFile(dir.path().string()); }),
              "cannot open \"" + dir.path().string() + "\": Is a directory");
    EXPECT_THROW(ReadTextFileIfExists(dir.path().string()), FileError);
    EXPECT_THROW(WriteTextFile(dir.file("no/such/folder.txt"), "x"), FileError);
    EXPECT_THROW(AppendTextFile(dir.file("no/such/folder.txt"), "x"), FileError);
    EXPECT_THROW(WriteTextFile(dir.path().string(), "x"), FileError);
}

TEST(TextFile, SizeLimit) {
    TempDir dir;
    std::string path = dir.file("big.txt");
    WriteTextFile(path, std::string(100000, 'x'));
    EXPECT_EQ(ReadTextFile(path, 100000).size(), 100000u);
    EXPECT_THROW(ReadTextFile(path, 99999), FileError);
    EXPECT_THROW(ReadTextFileIfExists(path, 10), FileError);
}

TEST(TextFile, UnreadableFile) {
    if (::geteuid() == 0) GTEST_SKIP() << "root reads every file";
    TempDir dir;
    std::string path = dir.file("secret.txt");
    WriteTextFile(path, "x");
    std::filesystem::permissions(path, std::filesystem::perms::none);
    EXPECT_EQ(MessageOf([&] { ReadTextFileIfExists(path); }),
              "cannot open \"" + path + "\": Permission denied");
}

TEST(TextFile, AtomicWriteReplacesWholeFileAndLeavesNothingBehind) {
    TempDir dir;
    std::string path = dir.file("session.ini");
    WriteTextFile(path, "old content that is longer");
    WriteTextFileAtomic(path, "new");
    EXPECT_EQ(ReadTextFile(path), "new");
    // a leftover temporary name from an earlier crash does not stop the write
    WriteTextFile(path + ".~tmp0", "stale");
    WriteTextFileAtomic(path, "newer");
    EXPECT_EQ(ReadTextFile(path), "newer");
    EXPECT_EQ(ReadTextFile(path + ".~tmp0"), "stale");
    std::filesystem::remove(path + ".~tmp0");
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1);

    // the target is a folder: the rename fails and the temporary file goes
    std::filesystem::create_directory(dir.file("folder"));
    std::filesystem::create_directory(dir.file("folder/inner"));
    EXPECT_THROW(WriteTextFileAtomic(dir.file("folder"), "x"), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.file("folder.~tmp0")));
    EXPECT_THROW(WriteTextFileAtomic(dir.file("no/such/folder.txt"), "x"), FileError);
}

// The names beside a target that a save may leave.
std::vector<std::string> TemporaryFiles(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".~tmp") != std::string::npos) names.push_back(name);
    }
    return names;
}

TEST(TextFile, SavesNeitherStopAtNorLeaveTemporaryFiles) {
    TempDir dir;
    const std::string path = dir.file("locations.lst");
    // a hundred saves killed half-way by an older version
    for (int i = 0; i < 100; ++i) WriteTextFile(path + ".~tmp" + std::to_string(i), "stale");
    WriteTextFileAtomic(path, "one");
    EXPECT_EQ(ReadTextFile(path), "one");
    EXPECT_EQ(TemporaryFiles(dir.path()).size(), 100u);  // too fresh to be surely abandoned

    // those of an ended process go at the next save, as do old ones of the older pattern
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const std::string dead = path + ".~tmp" + std::to_string(ended) + "-0badcafe";
    const std::string live = path + ".~tmp" + std::to_string(::getppid()) + "-0badcafe";
    WriteTextFile(dead, "stale");
    WriteTextFile(live, "in use");
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    for (int i = 0; i < 100; ++i)
        std::filesystem::last_write_time(path + ".~tmp" + std::to_string(i), old);
    WriteTextFileAtomic(path, "two");
    EXPECT_EQ(ReadTextFile(path), "two");
    EXPECT_EQ(TemporaryFiles(dir.path()), std::vector<std::string>{FileNameOnly(live)});

    // a save that fails removes its own temporary file
    std::filesystem::create_directory(dir.file("folder"));
    EXPECT_THROW(WriteTextFileAtomic(dir.file("folder"), "x"), FileError);
    EXPECT_EQ(TemporaryFiles(dir.path()).size(), 1u);
}

TEST(OutputFile, TheTargetChangesOnlyWhenCommitted) {
    TempDir dir;
    const std::string path = dir.file("table.txt");
    WriteTextFile(path, "earlier table\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    {
        OutputFile out(path, OutputFile::Mode::Replace);
        out.write("header\n");
    }  // a run that ended before its first row
    EXPECT_EQ(ReadTextFile(path), "earlier table\n");
    EXPECT_TRUE(TemporaryFiles(dir.path()).empty());
    {
        OutputFile out(path, OutputFile::Mode::Replace);
        out.write("header\n");
        out.commit();
        EXPECT_EQ(ReadTextFile(path), "header\n");
        out.write("row\n");  // streams on into the file now in place
        out.close();
    }
    EXPECT_EQ(ReadTextFile(path), "header\nrow\n");
    EXPECT_EQ(std::filesystem::status(path).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
    // through a link the file is replaced, the link stays
    std::filesystem::create_symlink(path, dir.file("link.txt"));
    WriteTextFileAtomic(dir.file("link.txt"), "via link\n");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.txt")));
    EXPECT_EQ(ReadTextFile(path), "via link\n");
    EXPECT_TRUE(SameFile(dir.file("link.txt"), path));
    EXPECT_FALSE(SameFile(dir.file("missing.txt"), path));
    // a full disk is reported, not passed over
    EXPECT_THROW(
        {
            OutputFile full("/dev/full", OutputFile::Mode::Replace);
            full.write("x");
            full.close();
        },
        FileError);
}

TEST(TextFile, ReadersRefuseWhatIsNoRegularFile) {
    TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    // every reader of outside data; a pipe that nobody writes must not make one wait
    const std::vector<std::pair<const char*, std::function<void(const std::string&)>>> readers = {
        {"text", [](const std::string& p) { ReadTextFile(p); }},
        {"session", [](const std::string& p) { IniFile::load(p); }},
        {"bitmap", [](const std::string& p) { ReadBmp(p); }},
        {"data file",
         [](const std::string& p) {
             DataFileSettings s;
             s.path = p;
             DataFileReader reader(s);
         }},
        {"topography",
         [](const std::string& p) {
             TopoReadError error;
             if (!ReadTopographyValues(
                     p, [](std::uint64_t, float) {}, error))
                 throw FileError(error.message());
         }},
    };
    for (const auto& reader : readers)
        for (const std::string& path : {pipe, std::string("/dev/zero")}) {
            SCOPED_TRACE(std::string(reader.first) + " " + path);
            const std::string message = MessageOf([&] { reader.second(path); });
            EXPECT_NE(message.find("\"" + path + "\": not a regular file"), std::string::npos)
                << message;
        }
    EXPECT_NE(LoadLocationList(pipe).error.find("not a regular file"), std::string::npos);
    WriteTextFile(dir.file("big.txt"), std::string(3 << 20, 'x'));
    EXPECT_EQ(MessageOf([&] { ReadTextFile(dir.file("big.txt"), std::size_t(2) << 20); }),
              "cannot open \"" + dir.file("big.txt") + "\": larger than 2 MB");
}

TEST(TextFile, SplitLines) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\n", {""}},
        {"\r\n\r\n", {"", ""}},
        {"a\n\r\nb", {"a", "", "b"}},
        {"a\r\rb\n", {"a", "", "b"}},
        {std::string("a\0b", 3), {std::string("a\0b", 3)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(SplitLines(c.text), c.lines);
    }
}

TEST(TextFile, PathParts) {
    struct Case {
        const char* path;
        const char* name;
        const char* directory;
    };
    const Case cases[] = {
        {"dir/a.obs", "a.obs", "dir"},
        {"a.obs", "a.obs", ""},
        {"/a.obs", "a.obs", "/"},
        {"/x/y/a.obs", "a.obs", "/x/y"},
        {"x//a.obs", "a.obs", "x"},
        {"dir/", "", "dir"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(FileNameOnly(c.path), c.name);
        EXPECT_EQ(DirectoryOf(c.path), c.directory);
    }
    EXPECT_EQ(JoinPath("dir", "a.obs"), "dir/a.obs");
    EXPECT_EQ(JoinPath("dir/", "a.obs"), "dir/a.obs");
    EXPECT_EQ(JoinPath("", "a.obs"), "a.obs");
    EXPECT_EQ(JoinPath("/", "a.obs"), "/a.obs");
    EXPECT_EQ(JoinPath(DirectoryOf("/x/y/a.obs"), FileNameOnly("/x/y/a.obs")), "/x/y/a.obs");
}
