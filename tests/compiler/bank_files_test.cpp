#include <gtest/gtest.h>

#include <algorithm>

#include <sys/stat.h>

#include "compiler/compiler.h"
#include "project/atomic_file.h"
#include "project_files.h"

namespace brenvale {
namespace {

using testing::files_of;
using testing::par_gen_xml;
using testing::Project;
using testing::read_text;
using testing::stamp;
using testing::table_xml;
using testing::transmit_frame;
using testing::write_text;

const char* const kOutputFiles[] = {"bank1.bin", "bank2.bin", "bank3.bin", "bank4.bin", "bank5.bin", "bankg.c", "bank.bin"};

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start) + "<no CR LF>");
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

TEST(BankFiles, SevenFilesWithTheCompiledBytes) {
  Project project;
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("3", "0", "61444", "0")}));
  Compiler compiler;
  // Before any compile the image is all zero, as are banks 3 to 5 for the whole run.
  ASSERT_EQ(compiler.image().size(), 65280u);
  EXPECT_TRUE(std::all_of(compiler.image().begin(), compiler.image().end(), [](std::uint8_t b) { return b == 0; }));
  const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
  ASSERT_TRUE(done.ok()) << done.error().message;
  EXPECT_EQ(*done, UpdatePath::kFirmwareFile);  // no ParGen.xml: no Ethernet port
  EXPECT_EQ(testing::entry_count(project.bin()), 7u);
  for (int n = 1; n <= 5; ++n) {
    const std::string bytes = read_text(project.bin() / ("bank" + std::to_string(n) + ".bin"));
    const ConstByteSpan bank = compiler.bank(n);
    EXPECT_EQ(bytes, std::string(reinterpret_cast<const char*>(bank.data()), bank.size())) << n;
  }
  const std::string image = read_text(project.bin() / "bank.bin");
  ASSERT_EQ(image.size(), 65280u);
  EXPECT_EQ(image, std::string(reinterpret_cast<const char*>(compiler.image().data()), 65280));
  const std::string bank1 = read_text(project.bin() / "bank1.bin");
  EXPECT_EQ(bank1.substr(0, 4096), std::string(4096, '\xFF'));
  EXPECT_EQ(bank1.substr(4096, 256), std::string(256, '\0'));
  for (const char* name : {"bank3.bin", "bank4.bin", "bank5.bin"}) {
    EXPECT_EQ(read_text(project.bin() / name), std::string(16384, '\0')) << name;
  }
}

TEST(BankFiles, CSourceDump) {
  Project project;
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("3", "0", "61444", "0")}));
  Compiler compiler;
  ASSERT_TRUE(compile_and_write(compiler, files_of(project), fixed_clock(stamp())).ok());
  const std::string text = read_text(project.bin() / "bankg.c");
  EXPECT_EQ(text.rfind("#pragma", 0), 0u);  // no byte-order mark
  const std::vector<std::string> lines = lines_of(text);
  ASSERT_EQ(lines.size(), 2052u);
  const std::string ff = " 0xFF,";
  const std::string zero = " 0x00,";
  std::string repeat_ff, repeat_zero;
  for (int i = 0; i < 16; ++i) repeat_ff += ff, repeat_zero += zero;
  EXPECT_EQ(lines[0], "#pragma CONST_SEG SEGMENT0");
  EXPECT_EQ(lines[1], "const char Bank1 [] = {" + repeat_ff);
  EXPECT_EQ(lines[2], std::string(17, ' ') + repeat_ff);
  EXPECT_EQ(lines[1 + 256], std::string(17, ' ') + repeat_zero);  // offset 4096: reserved zeros
  // Bank 1 line 1001 holds offsets 16016..16031: the stamp 0xE119 / 0x9529 at 16020.
  EXPECT_EQ(lines[1 + 1001].substr(17 + 6 * 4, 24), " 0x19, 0xE1, 0x29, 0x95,");
  EXPECT_EQ(lines[1024], std::string(17, ' ') + repeat_zero.substr(0, 6 * 15) + " 0x00};");
  EXPECT_EQ(lines[1025], "");
  EXPECT_EQ(lines[1026], "const char Bank2 [] = { 0x00, 0x04, 0xF0, 0x0C," + repeat_zero.substr(0, 6 * 12));
  for (std::size_t j = 1027; j < 2050; ++j) ASSERT_EQ(lines[j].substr(0, 18), std::string(17, ' ') + " ") << j;
  EXPECT_EQ(lines[2049].substr(lines[2049].size() - 7), " 0x00};");
  EXPECT_EQ(lines[2050], "");
  EXPECT_EQ(lines[2051], "#pragma CONST_SEG DEFAULT");
}

TEST(BankFiles, MissingBinFolderWritesNothing) {
  Project project;
  std::filesystem::remove(project.bin());
  Compiler compiler;
  const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
  ASSERT_FALSE(done.ok());
  EXPECT_NE(done.error().message.find("bin does not exist"), std::string::npos) << done.error().message;
  EXPECT_FALSE(std::filesystem::exists(project.bin()));
}

// Every file that cannot be written is named, and then no file is replaced: an update never
// takes a mix of two compiles.
TEST(BankFiles, EveryFileThatCannotBeWrittenIsReported) {
  Project project;
  std::filesystem::create_directory(project.bin() / "bank3.bin");
  write_text(project.bin() / "bankg.c", "old dump");
  ::chmod((project.bin() / "bankg.c").c_str(), 0444);
  Compiler compiler;
  const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
  ASSERT_FALSE(done.ok());
  const std::string& message = done.error().message;
  EXPECT_NE(message.find((project.bin() / "bank3.bin").string()), std::string::npos) << message;
  EXPECT_NE(message.find((project.bin() / "bankg.c").string()), std::string::npos) << message;
  EXPECT_EQ(message.find("bank1.bin"), std::string::npos) << message;
  EXPECT_EQ(read_text(project.bin() / "bankg.c"), "old dump");
  EXPECT_FALSE(std::filesystem::exists(project.bin() / "bank.bin"));
  EXPECT_FALSE(std::filesystem::exists(project.bin() / "bank4.bin"));
  EXPECT_EQ(testing::entry_count(project.bin()), 2u);  // the folder and the old dump, no temporary
}

TEST(BankFiles, AFailedWriteKeepsTheOldFileAndIsReported) {
  Project project;
  for (const char* name : kOutputFiles) write_text(project.bin() / name, "old");
  Compiler compiler;
  set_write_fault_after(100);
  const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(done.ok());
  for (const char* name : kOutputFiles) {
    EXPECT_NE(done.error().message.find((project.bin() / name).string()), std::string::npos) << name;
    EXPECT_EQ(read_text(project.bin() / name), "old") << name;
  }
  EXPECT_EQ(testing::entry_count(project.bin()), 7u);  // no temporary file left behind
}

TEST(BankFiles, UpdatePathFollowsTheStrictTest) {
  struct Case {
    const char* device;
    UpdatePath path;
  };
  const Case cases[] = {{"Device With Ethernet Port", UpdatePath::kEthernetUpdate},
                        {"device with ethernet port", UpdatePath::kFirmwareFile},
                        {"Device Without Ethernet Port", UpdatePath::kFirmwareFile}};
  for (const Case& c : cases) {
    Project project;
    project.write("ParGen.xml", par_gen_xml({{"Select_Device", c.device}}));
    Compiler compiler;
    const Result<UpdatePath> done = compile_and_write(compiler, files_of(project), fixed_clock(stamp()));
    ASSERT_TRUE(done.ok()) << done.error().message;
    EXPECT_EQ(*done, c.path) << c.device;
  }
}

}  // namespace
}  // namespace brenvale
