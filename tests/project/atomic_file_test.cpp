#include <sys/stat.h>

#include <gtest/gtest.h>

#include "project/atomic_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::entry_count;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

class AtomicFile : public ::testing::Test {
 protected:
  void TearDown() override { set_write_fault_after(std::nullopt); }
  TempDir dir_;
};

TEST_F(AtomicFile, ReplacesTheWholeFile) {
  write_text(dir_ / "a.xml", "old content that is longer");
  ASSERT_TRUE(write_file_atomic(dir_ / "a.xml", "new").ok());
  EXPECT_EQ(read_text(dir_ / "a.xml"), "new");
  EXPECT_EQ(entry_count(dir_.path()), 1u);
}

TEST_F(AtomicFile, FailedWriteKeepsTheOldFileAndLeavesNoTemporary) {
  write_text(dir_ / "a.xml", "old");
  set_write_fault_after(2);
  const Status status = write_file_atomic(dir_ / "a.xml", "new content");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("a.xml"), std::string::npos);
  EXPECT_EQ(read_text(dir_ / "a.xml"), "old");
  EXPECT_EQ(entry_count(dir_.path()), 1u);
}

TEST_F(AtomicFile, ReadOnlyFileIsRefused) {
  write_text(dir_ / "a.xml", "old");
  ::chmod((dir_ / "a.xml").c_str(), 0444);
  const Status status = write_file_atomic(dir_ / "a.xml", "new");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("read-only"), std::string::npos);
  EXPECT_EQ(read_text(dir_ / "a.xml"), "old");
}

TEST_F(AtomicFile, MissingFolderIsAnErrorNamingTheFile) {
  const Status status = write_file_atomic(dir_ / "gone" / "bank.bin", "x");
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("bank.bin"), std::string::npos);
}

TEST_F(AtomicFile, KeepsTheModeOfTheReplacedFile) {
  write_text(dir_ / "a.xml", "old");
  ::chmod((dir_ / "a.xml").c_str(), 0600);
  ASSERT_TRUE(write_file_atomic(dir_ / "a.xml", "new").ok());
  struct stat st {};
  ::stat((dir_ / "a.xml").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST_F(AtomicFile, ASetIsReplacedWholeOrNotAtAll) {
  write_text(dir_ / "a.bin", "old a");
  write_text(dir_ / "b.bin", "old b");
  const FileWrite both[] = {{dir_ / "a.bin", "new a"}, {dir_ / "b.bin", "new b"}};
  ASSERT_TRUE(write_files_atomic(both).ok());
  EXPECT_EQ(read_text(dir_ / "a.bin"), "new a");
  EXPECT_EQ(read_text(dir_ / "b.bin"), "new b");

  // The second file cannot be written: the first keeps its old content too.
  ::chmod((dir_ / "b.bin").c_str(), 0444);
  const FileWrite again[] = {{dir_ / "a.bin", "newer a"}, {dir_ / "b.bin", "newer b"}, {dir_ / "gone" / "c.bin", "c"}};
  const Status status = write_files_atomic(again);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("b.bin"), std::string::npos);
  EXPECT_NE(status.error().message.find("c.bin"), std::string::npos);
  EXPECT_EQ(status.error().message.find("a.bin"), std::string::npos);
  EXPECT_EQ(read_text(dir_ / "a.bin"), "new a");
  EXPECT_EQ(read_text(dir_ / "b.bin"), "new b");
  EXPECT_EQ(entry_count(dir_.path()), 2u);
}

}  // namespace
}  // namespace brenvale
