// File operations and the atomic replace of the data file, in both builds.
#include <gtest/gtest.h>

#include <optional>

#include "support/child_process.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/crypto.h"
#include "platform/files.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace kodrin {
namespace {

using platform::WriteFault;
using Bytes = std::vector<std::uint8_t>;

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes b(size);
    for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 31 + (i >> 11));
    return b;
}

// A fresh folder under the system's temporary folder, removed afterwards.
class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        temp_.emplace(u"kodrin-files-");
        ASSERT_TRUE(temp_->Created());
        folder_ = temp_->Path();
    }
    void TearDown() override {
        temp_.reset();
        platform::SetWriteFaultForTesting({});
    }
    std::u16string Path(std::u16string_view name) const { return folder_ + u"\\" + std::u16string(name); }
    Bytes Read(std::u16string_view name) const {
        Bytes b;
        EXPECT_TRUE(platform::ReadWholeFile(Path(name), b));
        return b;
    }
    std::optional<test::TempFolder> temp_;
    std::u16string folder_;
};

TEST_F(FilesTest, AtomicWriteCreatesAndReplaces) {
    const auto target = Path(u"Kodrinxml");
    ASSERT_TRUE(platform::WriteFileAtomically(target, Pattern(1000, 1)));
    EXPECT_EQ(Read(u"Kodrinxml"), Pattern(1000, 1));
    // Longer, then shorter, then empty: nothing of the old content remains.
    const Bytes big = Pattern((3 << 20) + 5, 2);
    std::vector<std::uint64_t> progress;
    {
        WriteFault watch;
        watch.on_progress = [&](std::uint64_t n) { progress.push_back(n); };
        platform::ScopedWriteFault scope(watch);
        ASSERT_TRUE(platform::WriteFileAtomically(target, big));
    }
    EXPECT_EQ(progress, (std::vector<std::uint64_t>{1 << 20, 2 << 20, 3 << 20, (3 << 20) + 5}));
    EXPECT_EQ(Read(u"Kodrinxml"), big);
    ASSERT_TRUE(platform::WriteFileAtomically(target, Pattern(7, 3)));
    EXPECT_EQ(Read(u"Kodrinxml"), Pattern(7, 3));
    ASSERT_TRUE(platform::WriteFileAtomically(target, Bytes{}));
    EXPECT_TRUE(Read(u"Kodrinxml").empty());
    EXPECT_EQ(platform::ListFiles(folder_), std::vector<std::u16string>{u"Kodrinxml"});
}

TEST_F(FilesTest, AtomicWriteReplacesAFileNamedByARelativePath) {
    // Relative to the working folder, as a command line names files.
    const std::u16string relative = u"kodrin_relative_write.bin";
    ASSERT_TRUE(platform::WriteFileAtomically(relative, Pattern(10, 1)));
    ASSERT_TRUE(platform::WriteFileAtomically(relative, Pattern(20, 2)));
    Bytes back;
    ASSERT_TRUE(platform::ReadWholeFile(relative, back));
    EXPECT_EQ(back, Pattern(20, 2));
    EXPECT_TRUE(platform::RemoveFile(relative));
}

TEST_F(FilesTest, FailedWriteKeepsThePreviousFileAndLeavesNoTemporary) {
    const Bytes old = Pattern(100000, 4);
    const Bytes next = Pattern(300000, 5);
    struct Case {
        WriteFault::Kind kind;
        std::uint64_t after;
    };
    const Case cases[] = {
        {WriteFault::Kind::IoError, 150000},  {WriteFault::Kind::IoError, 0},
        {WriteFault::Kind::DiskFull, 150000}, {WriteFault::Kind::DiskFull, 299999},
        {WriteFault::Kind::DiskFull, 0},      {WriteFault::Kind::FlushFails, 0},
        {WriteFault::Kind::ReplaceFails, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.kind) * 1000000 + static_cast<int>(c.after));
        ASSERT_TRUE(platform::WriteFileAtomically(Path(u"data"), old));
        {
            WriteFault fault;
            fault.kind = c.kind;
            fault.after_bytes = c.after;
            platform::ScopedWriteFault scope(fault);
            EXPECT_FALSE(platform::WriteFileAtomically(Path(u"data"), next));
            // A file that did not exist before does not appear.
            EXPECT_FALSE(platform::WriteFileAtomically(Path(u"fresh"), next));
        }
        EXPECT_EQ(Read(u"data"), old);
        EXPECT_EQ(platform::ListFiles(folder_), std::vector<std::u16string>{u"data"});
    }
    // The fault is gone with its scope.
    EXPECT_TRUE(platform::WriteFileAtomically(Path(u"data"), next));
    EXPECT_EQ(Read(u"data"), next);
}

TEST_F(FilesTest, ReadOnlyTargetIsRefusedAndKept) {
    const auto target = Path(u"locked.xml");
    ASSERT_TRUE(platform::WriteFileAtomically(target, Pattern(64, 6)));
    EXPECT_FALSE(platform::IsReadOnly(target));
    ASSERT_TRUE(platform::SetReadOnly(target, true));
    EXPECT_TRUE(platform::IsReadOnly(target));
    EXPECT_FALSE(platform::WriteFileAtomically(target, Pattern(64, 7)));
    EXPECT_TRUE(platform::CopyFileTo(target, target + u".copy"));  // reading it is fine
    EXPECT_FALSE(platform::CopyFileTo(target + u".copy", target));
    EXPECT_EQ(Read(u"locked.xml"), Pattern(64, 6));
    ASSERT_TRUE(platform::SetReadOnly(target, false));
    EXPECT_TRUE(platform::WriteFileAtomically(target, Pattern(64, 7)));
    EXPECT_EQ(Read(u"locked.xml"), Pattern(64, 7));
    EXPECT_FALSE(platform::IsReadOnly(Path(u"missing")));
    EXPECT_FALSE(platform::WriteFileAtomically(folder_, Pattern(4, 1)));  // a folder is not replaced
}

TEST_F(FilesTest, CopyMoveRemoveAndExistence) {
    const auto a = Path(u"a.bin"), b = Path(u"b.bin"), c = Path(u"c.bin");
    ASSERT_TRUE(platform::WriteFileAtomically(a, Pattern(5000, 8)));
    ASSERT_TRUE(platform::WriteFileAtomically(b, Pattern(9000, 9)));
    EXPECT_TRUE(platform::FileExists(a));
    EXPECT_FALSE(platform::FolderExists(a));
    EXPECT_TRUE(platform::FolderExists(folder_));
    EXPECT_FALSE(platform::FileExists(folder_));
    EXPECT_FALSE(platform::FileExists(c));

    EXPECT_TRUE(platform::CopyFileTo(a, b));  // replaces
    EXPECT_EQ(Read(u"b.bin"), Pattern(5000, 8));
    EXPECT_FALSE(platform::CopyFileTo(c, b));  // a missing source leaves the target
    EXPECT_EQ(Read(u"b.bin"), Pattern(5000, 8));

    ASSERT_TRUE(platform::WriteFileAtomically(b, Pattern(10, 10)));
    EXPECT_FALSE(platform::MoveFileTo(a, b));  // never over an existing file
    EXPECT_EQ(Read(u"b.bin"), Pattern(10, 10));
    EXPECT_TRUE(platform::MoveFileTo(a, c));
    EXPECT_FALSE(platform::FileExists(a));
    EXPECT_EQ(Read(u"c.bin"), Pattern(5000, 8));

    EXPECT_TRUE(platform::RemoveFile(c));
    EXPECT_FALSE(platform::FileExists(c));
    EXPECT_FALSE(platform::RemoveFile(c));
    EXPECT_EQ(platform::ListFiles(folder_), std::vector<std::u16string>{u"b.bin"});
}

TEST_F(FilesTest, FoldersAndListing) {
    const auto images = folder_ + u"\\one/two\\Images\\";
    EXPECT_FALSE(platform::FolderExists(images));
    ASSERT_TRUE(platform::CreateFolders(images));
    EXPECT_TRUE(platform::FolderExists(folder_ + u"/one/two/Images"));
    EXPECT_TRUE(platform::CreateFolders(images));  // already there
    ASSERT_TRUE(platform::WriteFileAtomically(folder_ + u"\\one\\blocker", Pattern(1, 1)));
    EXPECT_FALSE(platform::CreateFolders(folder_ + u"\\one\\blocker\\below"));

    for (const auto* name : {u"b.png", u"A.PNG", u"c.jpg", u"png", u"d.png.bak"})
        ASSERT_TRUE(platform::WriteFileAtomically(images + name, Pattern(3, 1)));
    ASSERT_TRUE(platform::CreateFolders(images + u"sub.png"));
    EXPECT_EQ(platform::ListFiles(images, u".png"), (std::vector<std::u16string>{u"A.PNG", u"b.png"}));
    EXPECT_EQ(platform::ListFiles(images),
              (std::vector<std::u16string>{u"A.PNG", u"b.png", u"c.jpg", u"d.png.bak", u"png"}));
    EXPECT_TRUE(platform::ListFiles(folder_ + u"\\none").empty());
}

// A symbolic link to the catalog stays a link: both writers replace the file
// it names, in that file's folder, and leave no temporary behind either.
TEST_F(FilesTest, WritesThroughASymbolicLinkReplaceItsTarget) {
    // The file system's own spelling of a path under the test folder.
    auto native = [&](std::u16string_view name) {
        std::u16string path = Path(name);
#ifndef _WIN32
        std::replace(path.begin(), path.end(), u'\\', u'/');
#endif
        return std::filesystem::path(path);
    };
    ASSERT_TRUE(platform::CreateFolders(Path(u"real")));
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"real\\Kodrinxml"), Pattern(100, 1)));
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"source"), Pattern(300, 2)));
    std::error_code ec;
    // A relative link, and a link to that link.
    std::filesystem::create_symlink(std::filesystem::path("real") / "Kodrinxml", native(u"link"), ec);
    // Wine (8.0) reports success for a link it never makes.
    if (ec || !std::filesystem::is_symlink(native(u"link")))
        GTEST_SKIP() << "symbolic links cannot be made here: " << ec.message();
    std::filesystem::create_symlink(native(u"link"), native(u"link2"), ec);
    ASSERT_FALSE(ec) << ec.message();

    struct Case {
        const char16_t* through;
        bool copy;  // CopyFileTo from "source", else WriteFileAtomically
        std::uint8_t seed;
    };
    for (const Case& c : {Case{u"link", false, 3}, Case{u"link2", false, 4}, Case{u"link", true, 0},
                          Case{u"link2", true, 0}}) {
        SCOPED_TRACE(std::filesystem::path(std::u16string(c.through)).string() + (c.copy ? " copy" : " write"));
        ASSERT_TRUE(platform::WriteFileAtomically(Path(u"real\\Kodrinxml"), Pattern(100, 1)));
        const Bytes expected = c.copy ? Pattern(300, 2) : Pattern(2000, c.seed);
        ASSERT_TRUE(c.copy ? platform::CopyFileTo(Path(u"source"), Path(c.through))
                           : platform::WriteFileAtomically(Path(c.through), expected));
        EXPECT_TRUE(std::filesystem::is_symlink(native(u"link")));
        EXPECT_TRUE(std::filesystem::is_symlink(native(u"link2")));
        EXPECT_EQ(Read(u"real\\Kodrinxml"), expected);
        EXPECT_EQ(Read(c.through), expected);
        EXPECT_EQ(platform::ListFiles(Path(u"real")), std::vector<std::u16string>{u"Kodrinxml"});
        EXPECT_EQ(platform::ListFiles(folder_), (std::vector<std::u16string>{u"link", u"link2", u"source"}));
    }
#ifndef _WIN32
    // A link to a file not made yet: the file appears where the link points.
    std::filesystem::create_symlink(std::filesystem::path("real") / "later", native(u"ahead"), ec);
    ASSERT_FALSE(ec) << ec.message();
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"ahead"), Pattern(5, 5)));
    EXPECT_TRUE(std::filesystem::is_symlink(native(u"ahead")));
    EXPECT_EQ(Read(u"real\\later"), Pattern(5, 5));
#endif
}

TEST(PathParts, FolderAndFileName) {
    using platform::FileNamePart;
    using platform::FolderPart;
    EXPECT_EQ(FolderPart(u"C:\\Data\\Kodrinxml"), u"C:\\Data\\");
    EXPECT_EQ(FileNamePart(u"C:\\Data\\Kodrinxml"), u"Kodrinxml");
    EXPECT_EQ(FolderPart(u"/home/me/Kodrin.xml"), u"/home/me/");
    EXPECT_EQ(FileNamePart(u"/home/me/Kodrin.xml"), u"Kodrin.xml");
    EXPECT_EQ(FolderPart(u"C:\\a/b\\c/d.png"), u"C:\\a/b\\c/");
    EXPECT_EQ(FileNamePart(u"C:\\a/b\\c/d.png"), u"d.png");
    EXPECT_EQ(FolderPart(u"C:\\Images\\"), u"C:\\Images\\");
    EXPECT_EQ(FileNamePart(u"C:\\Images\\"), u"");
    EXPECT_EQ(FolderPart(u"Kodrinxml"), u"");
    EXPECT_EQ(FileNamePart(u"Kodrinxml"), u"Kodrinxml");
    EXPECT_EQ(FolderPart(u"C:pic.bmp"), u"C:");
    EXPECT_EQ(FileNamePart(u"C:pic.bmp"), u"pic.bmp");
    EXPECT_EQ(FolderPart(u""), u"");
    EXPECT_EQ(FileNamePart(u"\\\\server\\share\\f"), u"f");
}

#ifdef _WIN32
// A writer killed in the middle of saving a large file: the previous file
// stays whole. The writer is this test program started again to run only
// FilesChild.DISABLED_WriteUntilKilled, which stops itself half-way through
// the write and announces it with a marker file, so the kill lands there.
std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD n = ::GetEnvironmentVariableW(name, buffer, 1024);
    return n > 0 && n < 1024 ? std::wstring(buffer, n) : std::wstring();
}

TEST(FilesChild, DISABLED_WriteUntilKilled) {
    const std::wstring target = EnvironmentValue(L"KODRIN_TEST_TARGET");
    const std::wstring marker = EnvironmentValue(L"KODRIN_TEST_MARKER");
    ASSERT_FALSE(target.empty());
    const Bytes next = Pattern(48 << 20, 12);
    WriteFault fault;
    fault.on_progress = [&](std::uint64_t written) {
        if (written >= next.size() / 2) {
            const HANDLE h = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
            ::CloseHandle(h);
            ::Sleep(INFINITE);
        }
    };
    platform::SetWriteFaultForTesting(fault);
    platform::WriteFileAtomically(std::u16string(reinterpret_cast<const char16_t*>(target.c_str())), next);
}

TEST_F(FilesTest, KilledWriterLeavesThePreviousFileWhole) {
    const auto target = Path(u"Kodrinxml");
    const auto marker = Path(u"marker");
    const Bytes old = Pattern(1 << 20, 11);
    const Bytes next = Pattern(48 << 20, 12);
    ASSERT_TRUE(platform::WriteFileAtomically(target, old));
    ::SetEnvironmentVariableW(L"KODRIN_TEST_TARGET", reinterpret_cast<const wchar_t*>(target.c_str()));
    ::SetEnvironmentVariableW(L"KODRIN_TEST_MARKER", reinterpret_cast<const wchar_t*>(marker.c_str()));
    ASSERT_TRUE(test::RunChildTestUntilMarker(L"FilesChild.DISABLED_WriteUntilKilled", marker));

    EXPECT_EQ(Read(u"Kodrinxml"), old);
    // The half-written temporary file is the only other trace.
    std::vector<std::u16string> others;
    for (const auto& f : platform::ListFiles(folder_))
        if (f != u"Kodrinxml" && f != u"marker") others.push_back(f);
    ASSERT_EQ(others.size(), 1u);
    EXPECT_EQ(others[0].rfind(u"Kodrinxml.", 0), 0u);
    EXPECT_GE(Read(others[0]).size(), next.size() / 2);
    // Only the writer's own leftovers are cleared away.
    ASSERT_TRUE(platform::WriteFileAtomically(Path(u"Kodrinxml.notes.tmp"), old));
    EXPECT_EQ(platform::RemoveLeftoverTemporaries(target), 1);
    EXPECT_FALSE(platform::FileExists(Path(others[0])));
    EXPECT_TRUE(platform::FileExists(Path(u"Kodrinxml.notes.tmp")));
    ASSERT_TRUE(platform::WriteFileAtomically(target, next));
    EXPECT_EQ(Read(u"Kodrinxml"), next);
}
#else
// A writer killed in the middle of saving a large file: the previous file
// stays whole. The child stops itself half-way through the write so that the
// kill lands there every time.
TEST_F(FilesTest, KilledWriterLeavesThePreviousFileWhole) {
    const auto target = Path(u"Kodrinxml");
    const Bytes old = Pattern(1 << 20, 11);
    const Bytes next = Pattern(48 << 20, 12);
    ASSERT_TRUE(platform::WriteFileAtomically(target, old));
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        WriteFault fault;
        fault.on_progress = [&](std::uint64_t written) {
            if (written >= next.size() / 2) {
                const char c = 'x';
                (void)!::write(ready[1], &c, 1);
                for (;;) ::pause();
            }
        };
        platform::SetWriteFaultForTesting(fault);
        platform::WriteFileAtomically(target, next);
        ::_exit(3);  // not reached: the parent kills us mid-write
    }
    ::close(ready[1]);
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    EXPECT_EQ(Read(u"Kodrinxml"), old);
    // The half-written temporary file is the only other trace.
    const auto files = platform::ListFiles(folder_);
    ASSERT_EQ(files.size(), 2u);
    const auto& temp = files[0] == u"Kodrinxml" ? files[1] : files[0];
    EXPECT_EQ(temp.rfind(u"Kodrinxml.", 0), 0u);
    EXPECT_GE(Read(temp).size(), next.size() / 2);
    // The leftover is recognised and cleared away; the next save goes through.
    const std::u16string leftover = temp;
    EXPECT_EQ(platform::RemoveLeftoverTemporaries(target), 1);
    EXPECT_FALSE(platform::FileExists(Path(leftover)));
    ASSERT_TRUE(platform::WriteFileAtomically(target, next));
    EXPECT_EQ(Read(u"Kodrinxml"), next);
}

// A real write failure (the file size limit, as a full disk would stop the
// write): the previous file stays and no temporary file is left.
TEST_F(FilesTest, FileSizeLimitFailsCleanly) {
    const auto target = Path(u"limited");
    const Bytes old = Pattern(1000, 13);
    ASSERT_TRUE(platform::WriteFileAtomically(target, old));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(2);
        ::_exit(platform::WriteFileAtomically(target, Pattern(1 << 20, 14)) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Read(u"limited"), old);
    EXPECT_EQ(platform::ListFiles(folder_), std::vector<std::u16string>{u"limited"});
}

TEST_F(FilesTest, ReplaceKeepsThePermissions) {
    const auto target = Path(u"perm");
    ASSERT_TRUE(platform::WriteFileAtomically(target, Pattern(10, 1)));
    auto native = std::filesystem::path(target).string();
    std::replace(native.begin(), native.end(), '\\', '/');
    std::filesystem::permissions(native, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                             std::filesystem::perms::group_read);
    ASSERT_TRUE(platform::WriteFileAtomically(target, Pattern(20, 2)));
    EXPECT_EQ(std::filesystem::status(native).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}
#endif

}  // namespace
}  // namespace kodrin
