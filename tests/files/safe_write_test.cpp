#include "files/safe_write.h"

#include <cerrno>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/model_file.h"
#include "model/number_formats.h"
#include "sample_models.h"

namespace tavrine {
namespace {

class SafeWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    char name[] = "/tmp/tavrine_safe_write_XXXXXX";
    ASSERT_NE(mkdtemp(name), nullptr);
    dir_ = name;
    target_ = dir_ + "/model.csv";
  }
  void TearDown() override {
    chmod(dir_.c_str(), 0755);
    std::system(("rm -rf '" + dir_ + "'").c_str());
  }
  void WriteOld() { std::ofstream(target_, std::ios::binary) << "old contents"; }
  std::string Contents() const {
    std::ifstream in(target_, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Names in the folder other than the target: a failed write must leave no temporary file.
  int StrayFiles() const {
    int count = 0;
    DIR* d = opendir(dir_.c_str());
    while (dirent* e = readdir(d)) {
      const std::string name = e->d_name;
      count += name != "." && name != ".." && name != "model.csv";
    }
    closedir(d);
    return count;
  }
  std::string dir_, target_;
};

TEST_F(SafeWrite, ReplacesAndKeepsPermissions) {
  WriteOld();
  chmod(target_.c_str(), 0640);
  EXPECT_FALSE(ReplaceFileContents(target_, "new"));
  EXPECT_EQ(Contents(), "new");
  struct stat st {};
  stat(target_.c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(SafeWrite, FollowsASymbolicLink) {
  WriteOld();
  const std::string link = dir_ + "/link.csv";
  ASSERT_EQ(symlink(target_.c_str(), link.c_str()), 0);
  EXPECT_FALSE(ReplaceFileContents(link, "through the link"));
  EXPECT_EQ(Contents(), "through the link");
  struct stat st {};
  lstat(link.c_str(), &st);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST_F(SafeWrite, ReadOnlyTargetIsLeftAlone) {
  WriteOld();
  chmod(target_.c_str(), 0444);
  EXPECT_TRUE(ReplaceFileContents(target_, "new"));
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(SafeWrite, MissingOrUnwritableFolder) {
  EXPECT_EQ(ReplaceFileContents(dir_ + "/no/such/folder/model.csv", "x"),
            "保存先のフォルダがありません");
  WriteOld();
  EXPECT_TRUE(ReplaceFileContents(target_ + "/model.csv", "x"));  // a file used as a folder
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_TRUE(ReplaceFileContents(dir_, "x"));  // a folder as the target
  if (geteuid() == 0) {
    GTEST_SKIP() << "folder permissions do not bind the superuser";
  }
  chmod(dir_.c_str(), 0555);
  EXPECT_TRUE(ReplaceFileContents(target_, "new"));
  EXPECT_EQ(Contents(), "old contents");
}

TEST_F(SafeWrite, InjectedFaultsLeaveTheOldFile) {
  WriteOld();
  const std::string big(100000, 'x');
  FileSystemCalls full = SystemFileCalls();
  size_t written = 0;
  full.write = [&](int fd, const char* data, size_t size) -> ssize_t {
    if (written >= 4096) {
      errno = ENOSPC;
      return -1;
    }
    const size_t n = std::min<size_t>(size, 1000);  // short writes are continued
    written += n;
    return ::write(fd, data, n);
  };
  auto error = ReplaceFileContents(target_, big, full);
  ASSERT_TRUE(error);
  EXPECT_EQ(*error, "書き込みに失敗しました（ディスクの空きが足りません）");

  FileSystemCalls no_sync = SystemFileCalls();
  no_sync.fsync = [](int) {
    errno = EIO;
    return -1;
  };
  EXPECT_TRUE(ReplaceFileContents(target_, big, no_sync));
  FileSystemCalls no_rename = SystemFileCalls();
  no_rename.rename = [](const char*, const char*) {
    errno = EXDEV;
    return -1;
  };
  EXPECT_TRUE(ReplaceFileContents(target_, big, no_rename));
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(SafeWrite, PiecesGoInOrderAndAFailureInALaterOneLeavesTheOldFile) {
  WriteOld();
  const std::vector<std::string_view> pieces = {"first ", "", "second ", "third"};
  EXPECT_FALSE(ReplaceFileContents(target_, pieces));
  EXPECT_EQ(Contents(), "first second third");
  WriteOld();
  FileSystemCalls fails_later = SystemFileCalls();
  fails_later.write = [](int fd, const char* data, size_t size) -> ssize_t {
    if (data[0] == 't') {
      errno = ENOSPC;
      return -1;
    }
    return ::write(fd, data, size);
  };
  EXPECT_TRUE(ReplaceFileContents(target_, pieces, fails_later));
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(StrayFiles(), 0);
}

// A table written in chunks on several threads comes out whole and in order, whatever the
// buffer given to build in held.
TEST_F(SafeWrite, LargeModelFileRowsInOrder) {
  auto model = testing::FreshModel();
  model->RectCalPointSet.LastIndex = 20000;
  for (int i = 0; i <= 20000; ++i) {
    model->RectCalPointSet.Points[i].Hx = i * 0.5;
  }
  ASSERT_FALSE(WriteModelFile(*model, target_, std::string(1000, 'z')));
  const std::string text = Contents();
  EXPECT_EQ(text, FormatModelFile(*model).bytes);
  size_t at = text.find("\r\n\" 0\",");
  for (int i = 0; i <= 20000; ++i) {
    const std::string row = "\r\n\"" + ModelFileNumber(i) + "\",\" 0\",\" 0\",\" 0\",\"" +
                            ModelFileNumber(i * 0.5) + "\",\" 0\",\" 0\"";
    ASSERT_EQ(text.compare(at, row.size(), row), 0) << i;
    at += row.size();
  }
  EXPECT_EQ(text.compare(at, 6, "\r\n\r\n\r\n"), 0);
}

// A real short write from the kernel: the file size limit stands in for a full disk.
TEST_F(SafeWrite, FileSizeLimitLikeAFullDisk) {
  WriteOld();
  struct rlimit old_limit {};
  getrlimit(RLIMIT_FSIZE, &old_limit);
  auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = old_limit;
  small.rlim_cur = 8192;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto model = testing::SmallModel();
  model->RectCalPointSet.LastIndex = 2000;
  auto error = WriteModelFile(*model, target_);
  setrlimit(RLIMIT_FSIZE, &old_limit);
  std::signal(SIGXFSZ, old_handler);
  ASSERT_TRUE(error);
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(StrayFiles(), 0);
}

TEST_F(SafeWrite, SaveCommandRaisesTheNoticeAndKeepsTheOldFile) {
  WriteOld();
  chmod(target_.c_str(), 0444);
  auto model = testing::SmallModel();
  NoticeBoard notices;
  EXPECT_TRUE(SaveModelFileCommand(*model, target_, notices));
  EXPECT_TRUE(notices.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_EQ(Contents(), "old contents");
  EXPECT_EQ(model->ModelFilePath, target_);

  chmod(target_.c_str(), 0644);
  NoticeBoard fine;
  EXPECT_FALSE(SaveModelFileCommand(*model, target_, fine));
  EXPECT_FALSE(fine.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_TRUE(Contents() == FormatModelFile(*model).bytes);
}

}  // namespace
}  // namespace tavrine
