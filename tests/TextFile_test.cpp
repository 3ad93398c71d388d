#include "platform/TextFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/Error.h"
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
