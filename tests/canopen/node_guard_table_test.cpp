#include <gtest/gtest.h>

#include "canopen/node_guard_table.h"
#include "project/atomic_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::entry_count;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

constexpr const char* kEmptyNodeFile = "<Node_Guarding/><!--SW_VERSION = 2.001-->";
constexpr const char* kDefaultFrameFile =
    "<NG_J1939_Frames>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0001\" SA=\"0x01\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0002\" SA=\"0x02\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0003\" SA=\"0x03\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0004\" SA=\"0x04\" Mnemonic=\"\"/>"
    "<row Priority=\"0\" DataPage=\"0\" PGN=\"0x0005\" SA=\"0x05\" Mnemonic=\"\"/>"
    "</NG_J1939_Frames><!--SW_VERSION = 2.001-->";

GuardedNode node(const char* id, const char* guard = "100", const char* life = "3", const char* name = "") {
  return GuardedNode{id, guard, life, name};
}

class NodeGuardTableTest : public ::testing::Test {
 protected:
  void TearDown() override { set_write_fault_after(std::nullopt); }
  std::filesystem::path nodes() const { return dir_ / "NodeGuard.xml"; }
  std::filesystem::path frames() const { return dir_ / "NG_J1939_Frame.xml"; }
  NodeGuardTable load() {
    Result<NodeGuardTable> table = load_node_guard_table(nodes(), frames());
    EXPECT_TRUE(table.ok()) << (table.ok() ? "" : table.error().message);
    return table.ok() ? table.value() : NodeGuardTable{};
  }
  TempDir dir_;
};

TEST_F(NodeGuardTableTest, FirstOpeningShowsAndWritesTheDefaults) {
  const NodeGuardTable table = load();
  EXPECT_EQ(guarded_node_count(table), 0);
  for (const GuardedNode& row : table.rows) EXPECT_EQ(row, GuardedNode{});
  for (int n = 1; n <= kNodeGuardFrameCount; ++n) {
    EXPECT_EQ(table.frames[static_cast<std::size_t>(n - 1)],
              (FrameLine{0, 0, "0x000" + std::to_string(n), "0x0" + std::to_string(n), ""}));
  }
  EXPECT_EQ(validate_node_guard_table(table), std::nullopt);
  ASSERT_TRUE(save_node_guard_table(nodes(), frames(), table).ok());
  EXPECT_EQ(read_text(nodes()), kEmptyNodeFile);
  EXPECT_EQ(read_text(frames()), kDefaultFrameFile);
}

TEST_F(NodeGuardTableTest, ListEndsAtTheFirstEmptyNodeId) {
  NodeGuardTable table = default_node_guard_table();
  table.rows[0] = node("5", "200", "3", "pump");
  table.rows[1] = node("0x10", "$64", "255", "");
  table.rows[2] = node("", "1", "1", "gap");
  table.rows[3] = node("999", "0", "0", "after the gap");  // neither checked nor saved
  EXPECT_EQ(guarded_node_count(table), 2);
  EXPECT_EQ(validate_node_guard_table(table), std::nullopt);
  ASSERT_TRUE(save_node_guard_table(nodes(), frames(), table).ok());
  EXPECT_EQ(read_text(nodes()),
            "<Node_Guarding>"
            "<row NodeID=\"5\" GuardTime=\"200\" LifeTimeFactor=\"3\" Mnemonic=\"pump\"/>"
            "<row NodeID=\"0x10\" GuardTime=\"$64\" LifeTimeFactor=\"255\" Mnemonic=\"\"/>"
            "</Node_Guarding><!--SW_VERSION = 2.001-->");

  const NodeGuardTable reopened = load();
  EXPECT_EQ(reopened.rows[0], table.rows[0]);
  EXPECT_EQ(reopened.rows[1], table.rows[1]);
  EXPECT_EQ(reopened.rows[3], GuardedNode{});
}

TEST_F(NodeGuardTableTest, ValidationMessagesNameTheRowOrTheFrame) {
  using Place = NodeGuardFailure::Place;
  struct Case {
    const char* what;
    void (*edit)(NodeGuardTable&);
    std::optional<NodeGuardFailure> expected;
    const char* text;
  };
  const Case cases[] = {
      {"Node ID 128 in row 2", [](NodeGuardTable& t) { t.rows[1].node_id = "128"; },
       NodeGuardFailure{Place::NodeRow, 2, 420}, "Error in row 2!! Node ID must be between 1 and 127"},
      {"Node ID 0", [](NodeGuardTable& t) { t.rows[0].node_id = "0"; }, NodeGuardFailure{Place::NodeRow, 1, 420},
       "Error in row 1!! Node ID must be between 1 and 127"},
      {"Guard Time 0 in row 1", [](NodeGuardTable& t) { t.rows[0].guard_time_ms = "0"; },
       NodeGuardFailure{Place::NodeRow, 1, 421}, "Error in row 1!! Guard Time must be between 1 and 65535 ms"},
      {"Guard Time 65535", [](NodeGuardTable& t) { t.rows[0].guard_time_ms = "65535"; }, std::nullopt, ""},
      {"Life Time Factor 256", [](NodeGuardTable& t) { t.rows[1].life_time_factor = "256"; },
       NodeGuardFailure{Place::NodeRow, 2, 422}, "Error in row 2!! Life Time Factor must be between 1 and 255"},
      {"Life Time Factor empty", [](NodeGuardTable& t) { t.rows[0].life_time_factor = ""; },
       NodeGuardFailure{Place::NodeRow, 1, 422}, "Error in row 1!! Life Time Factor must be between 1 and 255"},
      {"Node ID before Guard Time in one row",
       [](NodeGuardTable& t) {
         t.rows[1].guard_time_ms = "0";
         t.rows[1].node_id = "abc";
       },
       NodeGuardFailure{Place::NodeRow, 2, 420}, "Error in row 2!! Node ID must be between 1 and 127"},
      {"SA 254 for frame 5", [](NodeGuardTable& t) { t.frames[4].sa = "254"; }, NodeGuardFailure{Place::Frame, 5, 432},
       "Error in Frame J1939 5. Source Address must be between 0 and 253"},
      {"SA 253 for frame 5", [](NodeGuardTable& t) { t.frames[4].sa = "253"; }, std::nullopt, ""},
      {"PGN 65536 for frame 1", [](NodeGuardTable& t) { t.frames[0].pgn = "65536"; },
       NodeGuardFailure{Place::Frame, 1, 423}, "Error in Frame J1939 1. PGN must be between 0x0000 and 0xFFFF"},
      {"PGN of frame 3 before SA of frame 4",
       [](NodeGuardTable& t) {
         t.frames[3].sa = "-1";
         t.frames[2].pgn = "";
       },
       NodeGuardFailure{Place::Frame, 3, 427}, "Error in Frame J1939 3. PGN must be between 0x0000 and 0xFFFF"},
      {"a node row error comes before any frame error",
       [](NodeGuardTable& t) {
         t.frames[0].pgn = "zz";
         t.frames[0].sa = "999";
         t.rows[1].life_time_factor = "0";
       },
       NodeGuardFailure{Place::NodeRow, 2, 422}, "Error in row 2!! Life Time Factor must be between 1 and 255"},
  };
  const Catalogue catalogue;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    NodeGuardTable table = default_node_guard_table();
    table.rows[0] = node("1");
    table.rows[1] = node("127", "65535", "255");
    c.edit(table);
    const std::optional<NodeGuardFailure> failure = validate_node_guard_table(table);
    EXPECT_EQ(failure, c.expected);
    if (failure) EXPECT_EQ(failure_text(catalogue, *failure), c.text);
  }
}

TEST_F(NodeGuardTableTest, EachFrameRowFallsBackToItsOwnDefaults) {
  write_text(frames(),
             "<NG_J1939_Frames>"
             "<row Priority=\"7\" DataPage=\"7\" PGN=\"0xFF10\" SA=\"200\" Mnemonic=\"one\"/>"
             "<row Priority=\"3\" PGN=\"0xFF11\" SA=\"201\"/>"  // no DataPage
             "<row Priority=\"9\" DataPage=\"8\" PGN=\"0xFF12\"/>"
             "</NG_J1939_Frames>");
  const NodeGuardTable table = load();
  EXPECT_EQ(table.frames[0], (FrameLine{7, 7, "0xFF10", "200", "one"}));
  EXPECT_EQ(table.frames[1], default_frame_line(2));
  EXPECT_EQ(table.frames[2], (FrameLine{kNoChoice, kNoChoice, "0xFF12", "", ""}));
  EXPECT_EQ(table.frames[3], default_frame_line(4));
  EXPECT_EQ(table.frames[4], default_frame_line(5));
  EXPECT_NE(node_guard_frames_xml(table).find("<row Priority=\"-1\" DataPage=\"-1\" PGN=\"0xFF12\" SA=\"\" Mnemonic=\"\"/>"),
            std::string::npos);
}

TEST_F(NodeGuardTableTest, TwoFrameRowsShowFramesThreeToFiveWithDefaults) {
  write_text(frames(),
             "<NG_J1939_Frames>"
             "<row Priority=\"1\" DataPage=\"2\" PGN=\"10\" SA=\"20\" Mnemonic=\"a\"/>"
             "<row Priority=\"4\" DataPage=\"5\" PGN=\"11\" SA=\"21\" Mnemonic=\"b\"/>"
             "</NG_J1939_Frames><!--SW_VERSION = 2.001-->");
  const NodeGuardTable table = load();
  EXPECT_EQ(table.frames[0], (FrameLine{1, 2, "10", "20", "a"}));
  EXPECT_EQ(table.frames[1], (FrameLine{4, 5, "11", "21", "b"}));
  for (int n = 3; n <= 5; ++n) EXPECT_EQ(table.frames[static_cast<std::size_t>(n - 1)], default_frame_line(n));
}

TEST_F(NodeGuardTableTest, OddNodeFilesShowAtMostThirtyTwoRows) {
  std::string many = "<Node_Guarding>";
  for (int i = 1; i <= 40; ++i) many += "<row NodeID=\"" + std::to_string(i) + "\" GuardTime=\"10\" LifeTimeFactor=\"2\"/>";
  write_text(nodes(), many + "</Node_Guarding>");
  NodeGuardTable table = load();
  EXPECT_EQ(guarded_node_count(table), 32);
  EXPECT_EQ(table.rows[31], node("32", "10", "2", ""));

  write_text(nodes(), "<Guarded><row NodeID=\"9\" GuardTime=\"50\"/><!--c--><row LifeTimeFactor=\"4\"/></Guarded>");
  table = load();
  EXPECT_EQ(table.rows[0], node("9", "50", "", ""));
  EXPECT_EQ(table.rows[1], node("", "", "4", ""));
  EXPECT_EQ(guarded_node_count(table), 1);
}

TEST_F(NodeGuardTableTest, MalformedFileIsAnErrorNamingThatFile) {
  struct Case {
    const char* file;
    bool node_file;
  };
  for (const Case c : {Case{"NodeGuard.xml", true}, Case{"NG_J1939_Frame.xml", false}}) {
    SCOPED_TRACE(c.file);
    TempDir dir;
    write_text(dir / "NodeGuard.xml", kEmptyNodeFile);
    write_text(dir / "NG_J1939_Frame.xml", kDefaultFrameFile);
    write_text(dir / c.file, "<Root>\n  <row a=1/>\n</Root>");
    Result<NodeGuardTable> table = load_node_guard_table(dir / "NodeGuard.xml", dir / "NG_J1939_Frame.xml");
    ASSERT_FALSE(table.ok());
    const std::string& message = table.error().message;
    EXPECT_NE(message.find(c.file), std::string::npos) << message;
    EXPECT_NE(message.find("line 2"), std::string::npos) << message;
  }
}

TEST_F(NodeGuardTableTest, FailedFirstWriteChangesNothing) {
  write_text(nodes(), "old nodes");
  write_text(frames(), "old frames");
  set_write_fault_after(10);
  const Status status = save_node_guard_table(nodes(), frames(), default_node_guard_table());
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("NodeGuard.xml"), std::string::npos);
  EXPECT_EQ(read_text(nodes()), "old nodes");
  EXPECT_EQ(read_text(frames()), "old frames");
  EXPECT_EQ(entry_count(dir_.path()), 2u);
}

TEST_F(NodeGuardTableTest, FailedSecondWritePutsTheNodeListBack) {
  NodeGuardTable table = default_node_guard_table();
  table.rows[0] = node("3");
  // The node list text is short enough to be written, the frame text is not.
  ASSERT_LT(node_guard_xml(table).size(), 200u);
  ASSERT_GT(node_guard_frames_xml(table).size(), 200u);

  write_text(nodes(), "old nodes");
  write_text(frames(), "old frames");
  set_write_fault_after(200);
  Status status = save_node_guard_table(nodes(), frames(), table);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("NG_J1939_Frame.xml"), std::string::npos) << status.error().message;
  EXPECT_NE(status.error().message.find("NodeGuard.xml was left as it was"), std::string::npos)
      << status.error().message;
  EXPECT_EQ(read_text(nodes()), "old nodes");
  EXPECT_EQ(read_text(frames()), "old frames");

  // Without an earlier node list there is nothing to put back: the new one goes away again.
  std::filesystem::remove(nodes());
  status = save_node_guard_table(nodes(), frames(), table);
  ASSERT_FALSE(status.ok());
  EXPECT_FALSE(std::filesystem::exists(nodes()));
  EXPECT_EQ(read_text(frames()), "old frames");
  EXPECT_EQ(entry_count(dir_.path()), 1u);
}

}  // namespace
}  // namespace brenvale
