#include <gtest/gtest.h>

#include "canopen/sdo_client_table.h"
#include "project/atomic_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::entry_count;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

constexpr const char* kDefaultFile =
    "<J1939_Frames_SDOClient>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0001\" SA=\"0x01\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0002\" SA=\"0x02\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0003\" SA=\"0x03\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0004\" SA=\"0x04\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0005\" SA=\"0x05\" Mnemonic=\"\"/>"
    "</J1939_Frames_SDOClient><!--SW_VERSION = 2.001-->";

// A stored file whose frames all differ from the defaults.
constexpr const char* kStoredRows[] = {
    "<row Priority=\"0\" DataPage=\"1\" PGN=\"0xEF00\" SA=\"10\" Mnemonic=\"rq\"/>",
    "<row Priority=\"6\" DataPage=\"1\" PGN=\"0xEF01\" SA=\"11\" Mnemonic=\"ra\"/>",
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0xEF02\" SA=\"12\" Mnemonic=\"w1\"/>",
    "<row Priority=\"0\" DataPage=\"1\" PGN=\"0xEF03\" SA=\"13\" Mnemonic=\"w2\"/>",
    "<row Priority=\"3\" DataPage=\"0\" PGN=\"0xEF04\" SA=\"14\" Mnemonic=\"wa\"/>",
};

FrameLine stored_frame(int number) {
  const int priorities[] = {0, 6, 0, 0, 3};
  const int pages[] = {1, 1, 0, 1, 0};
  const char* mnemonics[] = {"rq", "ra", "w1", "w2", "wa"};
  const int i = number - 1;
  return FrameLine{priorities[i], pages[i], "0xEF0" + std::to_string(i), std::to_string(10 + i), mnemonics[i]};
}

std::string file_with(std::initializer_list<std::string> rows) {
  std::string text = "<J1939_Frames_SDOClient>";
  for (const std::string& r : rows) text += r;
  return text + "</J1939_Frames_SDOClient><!--SW_VERSION = 2.001-->";
}

class SdoClientTableTest : public ::testing::Test {
 protected:
  void TearDown() override { set_write_fault_after(std::nullopt); }
  std::filesystem::path path() const { return dir_ / "SDOClient.xml"; }
  SdoClientTable load(const std::string& text) {
    write_text(path(), text);
    Result<SdoClientTable> table = load_sdo_client_table(path());
    EXPECT_TRUE(table.ok()) << (table.ok() ? "" : table.error().message);
    return table.ok() ? table.value() : SdoClientTable{};
  }
  TempDir dir_;
};

TEST_F(SdoClientTableTest, FirstOpeningShowsAndWritesTheDefaults) {
  Result<SdoClientTable> table = load_sdo_client_table(path());
  ASSERT_TRUE(table.ok());
  for (int n = 1; n <= kSdoClientFrameCount; ++n) {
    EXPECT_EQ(table->frames[static_cast<std::size_t>(n - 1)],
              (FrameLine{0, 0, "0x000" + std::to_string(n), "0x0" + std::to_string(n), ""}));
  }
  EXPECT_EQ(validate_sdo_client_table(*table), std::nullopt);
  ASSERT_TRUE(save_sdo_client_table(path(), *table).ok());
  EXPECT_EQ(read_text(path()), kDefaultFile);
}

TEST_F(SdoClientTableTest, StoredFramesComeBackAsTypedAndSaveTheSameBytes) {
  const std::string text = file_with({kStoredRows[0], kStoredRows[1], kStoredRows[2], kStoredRows[3], kStoredRows[4]});
  const SdoClientTable table = load(text);
  for (int n = 1; n <= kSdoClientFrameCount; ++n) EXPECT_EQ(table.frames[static_cast<std::size_t>(n - 1)], stored_frame(n));
  EXPECT_EQ(sdo_client_xml(table), text);
}

// Each unreadable row falls back to its own frame's defaults, priority included; the other
// frames keep what was stored.
TEST_F(SdoClientTableTest, UnreadableRowTakesOnlyItsOwnDefaults) {
  struct Case {
    const char* what;
    int broken_frame;
    std::string row;
  };
  const Case cases[] = {
      {"answer without Priority", 2, "<row DataPage=\"1\" PGN=\"0xEF01\" SA=\"11\" Mnemonic=\"ra\"/>"},
      {"answer Priority not an integer", 5, "<row Priority=\"high\" DataPage=\"0\" PGN=\"1\" SA=\"2\"/>"},
      {"request without DataPage", 1, "<row Priority=\"0\" PGN=\"0xEF00\" SA=\"10\"/>"},
      {"request DataPage empty", 4, "<row Priority=\"0\" DataPage=\"\" PGN=\"0xEF03\" SA=\"13\"/>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> rows(std::begin(kStoredRows), std::end(kStoredRows));
    rows[static_cast<std::size_t>(c.broken_frame - 1)] = c.row;
    const SdoClientTable table = load(file_with({rows[0], rows[1], rows[2], rows[3], rows[4]}));
    for (int n = 1; n <= kSdoClientFrameCount; ++n) {
      EXPECT_EQ(table.frames[static_cast<std::size_t>(n - 1)], n == c.broken_frame ? default_frame_line(n) : stored_frame(n))
          << "frame " << n;
    }
  }
}

TEST_F(SdoClientTableTest, MissingRowsAndForeignRootGiveDefaults) {
  const SdoClientTable three = load(file_with({kStoredRows[0], kStoredRows[1], kStoredRows[2]}));
  EXPECT_EQ(three.frames[2], stored_frame(3));
  EXPECT_EQ(three.frames[3], default_frame_line(4));
  EXPECT_EQ(three.frames[4], default_frame_line(5));

  // The root is found by name among the document's nodes, not taken as the first node.
  const SdoClientTable after_comment = load(std::string("<!--note-->") + file_with({kStoredRows[0]}));
  EXPECT_EQ(after_comment.frames[0], stored_frame(1));

  EXPECT_EQ(load("<Other>" + std::string(kStoredRows[0]) + "</Other>"), default_sdo_client_table());

  // Comments between rows are not rows.
  const SdoClientTable commented = load(file_with({kStoredRows[0], "<!--x-->", kStoredRows[1]}));
  EXPECT_EQ(commented.frames[1], stored_frame(2));
}

TEST_F(SdoClientTableTest, NumberOutsideItsListLeavesNoChoiceAndSavesMinusOne) {
  const SdoClientTable table = load(file_with({"<row Priority=\"0\" DataPage=\"3\" PGN=\"1\" SA=\"1\" Mnemonic=\"\"/>",
                                               "<row Priority=\"9\" DataPage=\"-2\" PGN=\"2\" SA=\"2\" Mnemonic=\"\"/>"}));
  EXPECT_EQ(table.frames[0].data_page, kNoChoice);
  EXPECT_EQ(table.frames[1].priority, kNoChoice);
  EXPECT_EQ(table.frames[1].data_page, kNoChoice);
  const std::string saved = sdo_client_xml(table);
  EXPECT_NE(saved.find("<row Priority=\"0\" DataPage=\"-1\" PGN=\"1\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("<row Priority=\"-1\" DataPage=\"-1\" PGN=\"2\""), std::string::npos) << saved;
}

TEST_F(SdoClientTableTest, RequestsAreAlwaysStoredWithPriorityZero) {
  SdoClientTable table = load(file_with({"<row Priority=\"5\" DataPage=\"0\" PGN=\"1\" SA=\"1\"/>"}));
  EXPECT_EQ(table.frames[0].priority, 0);
  table[SdoClientFrame::WriteRequest1].priority = 7;
  table[SdoClientFrame::WriteAnswer].priority = 6;
  const std::string saved = sdo_client_xml(table);
  EXPECT_NE(saved.find("<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0003\""), std::string::npos) << saved;
  EXPECT_NE(saved.find("<row Priority=\"6\" DataPage=\"0\" PGN=\"0x0005\""), std::string::npos) << saved;
}

TEST_F(SdoClientTableTest, ValidationChecksPgnThenSaFrameByFrame) {
  struct Case {
    int frame;
    bool sa;
    const char* value;
    std::optional<SdoClientFailure> expected;
    const char* text;
  };
  const Case cases[] = {
      {3, true, "254", SdoClientFailure{3, 398},
       "Error in Request SDO Write (1/2)!! Source Address must be between 0 and 253"},
      {3, true, "253", std::nullopt, ""},
      {3, true, "0xFD", std::nullopt, ""},
      {2, true, "0", std::nullopt, ""},
      {2, true, "-1", SdoClientFailure{2, 396}, "Error in Answer SDO Read!! Source Address must be between 0 and 253"},
      {5, false, "65536", SdoClientFailure{5, 401}, "Error in Answer SDO Write!! PGN must be between 0x0000 and 0xFFFF"},
      {5, false, "$FFFF", std::nullopt, ""},
      {1, false, "abc", SdoClientFailure{1, 393}, "Error in Request SDO Read!! PGN must be between 0x0000 and 0xFFFF"},
      {1, false, "", SdoClientFailure{1, 393}, "Error in Request SDO Read!! PGN must be between 0x0000 and 0xFFFF"},
      {4, false, "12 ", SdoClientFailure{4, 399},
       "Error in Request SDO Write (2/2)!! PGN must be between 0x0000 and 0xFFFF"},
      {4, true, "x", SdoClientFailure{4, 400},
       "Error in Request SDO Write (2/2)!! Source Address must be between 0 and 253"},
  };
  const Catalogue catalogue;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.frame) + (c.sa ? " SA " : " PGN ") + c.value);
    SdoClientTable table = default_sdo_client_table();
    FrameLine& frame = table.frames[static_cast<std::size_t>(c.frame - 1)];
    (c.sa ? frame.sa : frame.pgn) = c.value;
    const std::optional<SdoClientFailure> failure = validate_sdo_client_table(table);
    EXPECT_EQ(failure, c.expected);
    if (failure) EXPECT_EQ(failure_text(catalogue, *failure), c.text);
  }

  // The first failure in check order wins: SA of frame 1 before PGN of frame 2.
  SdoClientTable table = default_sdo_client_table();
  table.frames[1].pgn = "70000";
  table.frames[0].sa = "300";
  EXPECT_EQ(validate_sdo_client_table(table), (SdoClientFailure{1, 394}));
}

TEST_F(SdoClientTableTest, MalformedFileIsAnErrorNamingFileLineAndColumn) {
  write_text(path(), "<J1939_Frames_SDOClient>\n<row Priority=\"0\">\n");
  Result<SdoClientTable> table = load_sdo_client_table(path());
  ASSERT_FALSE(table.ok());
  const std::string& message = table.error().message;
  EXPECT_NE(message.find("SDOClient.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("line "), std::string::npos) << message;
  EXPECT_NE(message.find("column "), std::string::npos) << message;
}

TEST_F(SdoClientTableTest, FailedWriteKeepsTheOldFile) {
  write_text(path(), "old");
  set_write_fault_after(20);
  const Status status = save_sdo_client_table(path(), default_sdo_client_table());
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("SDOClient.xml"), std::string::npos);
  EXPECT_EQ(read_text(path()), "old");
  EXPECT_EQ(entry_count(dir_.path()), 1u);
}

}  // namespace
}  // namespace brenvale
