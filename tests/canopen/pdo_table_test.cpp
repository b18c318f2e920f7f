#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canopen/pdo_table.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

constexpr const char* kWithoutPort =
    "<ParGen><Select_Device>Device Without Ethernet Port</Select_Device></ParGen>";

// Receive frames 1..4; frame 2 is a 20-byte transport-protocol frame, frame 3 has a lower-case y.
constexpr const char* kReceiveFrames =
    "<COBID>"
    "<row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"0\" PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\"Y\" NByte=\"20\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"0\" PGN=\"65262\" ID_DEV=\"0\" MultiFrame=\"y\" NByte=\"20\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"0\" PGN=\"1\" ID_DEV=\"2\" MultiFrame=\"Y\" NByte=\"abc\" Delete=\"N\" Mnemonic=\"\"/>"
    "</COBID>";

TEST(FrameChoices, TextsAndLengthsFromTheReceiveFrames) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", kReceiveFrames);
  Result<std::vector<FrameChoice>> choices = load_frame_choices(dir / "RCobDef.xml", true);
  ASSERT_TRUE(choices.ok()) << choices.error().message;
  ASSERT_EQ(choices->size(), 4u);
  const std::vector<std::pair<std::string, int>> expected = {
      {"1;61444;0;", 8}, {"2;65226;3;", 20}, {"3;65262;0;", 8}, {"4;1;2;", 8}};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ((*choices)[i].text, expected[i].first);
    EXPECT_EQ((*choices)[i].length, expected[i].second) << i;
  }
  Result<std::vector<FrameChoice>> eight = load_frame_choices(dir / "RCobDef.xml", false);
  ASSERT_TRUE(eight.ok());
  EXPECT_EQ((*eight)[1].length, 8);
  EXPECT_EQ(chosen_frame_length(*choices, "2;65226;3;"), 20);
  EXPECT_EQ(chosen_frame_length(*choices, "nothing"), 8);
  EXPECT_EQ(chosen_frame_length(*choices, " "), 8);
}

TEST(FrameChoices, MissingPgnOrAddressRefuses) {
  TempDir dir;
  write_text(dir / "TCobDef.xml", "<COBID><row PGN=\"1\" ID_DEV=\"2\"/><row PGN=\"1\"/></COBID>");
  Result<std::vector<FrameChoice>> choices = load_frame_choices(dir / "TCobDef.xml", false);
  ASSERT_FALSE(choices.ok());
  EXPECT_NE(choices.error().message.find("TCobDef.xml: row 2 has no attribute ID_DEV"), std::string::npos);
}

PdoTable transmit_table(std::vector<std::vector<std::string>> rows, EthernetPort port = EthernetPort::kWithPort) {
  PdoTable table(PdoVariant::kTransmit, port);
  table.frames = {{"1;61444;0;", 8}, {"2;0xFECA;3;", 20}, {"3;1;1;", INT32_MAX}};
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c) table.cells.set_cell(static_cast<int>(r), static_cast<int>(c), rows[r][c]);
  return table;
}

TEST(TransmitPdos, ValidationTable) {
  struct Case {
    const char* what;
    std::vector<std::string> row;  // COB-ID, Dimension, Start, Frame, DataChange, OnCAN, OnTimer, SendTimer
    EthernetPort port;
    std::optional<RowFailure> expected;
  };
  const EthernetPort with = EthernetPort::kWithPort;
  const EthernetPort without = EthernetPort::kWithoutPort;
  auto fail = [](int message, std::optional<int> n = std::nullopt) { return RowFailure{1, 515, message, n}; };
  const std::vector<Case> cases = {
      {"0x7FF", {"0x7FF", "8", "1"}, with, std::nullopt},
      {"$7FF", {"$7FF", "8", "1"}, with, std::nullopt},
      {"2047", {"2047", "8", "1"}, with, std::nullopt},
      {"0x800", {"0x800", "8", "1"}, with, fail(516)},
      {"leading blank", {" 12", "8", "1"}, with, std::nullopt},
      {"trailing blank", {"12 ", "8", "1"}, with, fail(516)},
      {"dimension 0", {"1", "0", "1"}, with, fail(517)},
      {"dimension 9", {"1", "9", "1"}, with, fail(517)},
      {"start 0 no frame", {"1", "1", "0"}, with, fail(518, 8)},
      {"start 9 no frame", {"1", "1", "9"}, with, fail(518, 8)},
      {"start 8 dimension 2", {"1", "2", "8"}, with, fail(519)},
      {"multi 18 + 3", {"1", "3", "18", "2;0xFECA;3;"}, with, std::nullopt},
      {"multi 18 + 4", {"1", "4", "18", "2;0xFECA;3;"}, with, fail(519)},
      {"multi start 21", {"1", "1", "21", "2;0xFECA;3;"}, with, fail(518, 20)},
      {"choice compared ignoring case", {"1", "1", "20", "2;0xfeca;3;"}, with, std::nullopt},
      {"largest frame length", {"1", "8", "2147483647", "3;1;1;"}, with, fail(519)},
      {"timer 0", {"1", "1", "1", "", "N", "N", "Y", "0"}, with, fail(520)},
      {"timer lower y", {"1", "1", "1", "", "N", "N", "y", "0"}, with, fail(520)},
      {"timer 1000000", {"1", "1", "1", "", "N", "N", "Y", "1000000"}, with, std::nullopt},
      {"timer 1000001", {"1", "1", "1", "", "N", "N", "Y", "1000001"}, with, fail(520)},
      {"timer off", {"1", "1", "1", "", "N", "N", "N", "x"}, with, std::nullopt},
      {"hidden timer", {"1", "1", "1", "", "N", "N", "Y", "0"}, without, std::nullopt},
  };
  for (const Case& c : cases) {
    PdoTable table = transmit_table({c.row}, c.port);
    EXPECT_EQ(validate_pdo_table(table), c.expected) << c.what;
  }
  Catalogue catalogue;
  EXPECT_EQ(failure_text(catalogue, fail(518, 20)), "Error in row 1!! Start Byte must be between 1 and 20");
  EXPECT_EQ(failure_text(catalogue, RowFailure{2, 515, 517, std::nullopt}),
            "Error in row 2!! Dimension must be between 1 and 8");
}

TEST(TransmitPdos, EmptyCobIdEndsTheTable) {
  PdoTable table = transmit_table({{"1", "1", "1"}, {"2", "1", "1"}, {" "}, {"x", "x", "x"}, {"5", "1", "1"}});
  EXPECT_EQ(validate_pdo_table(table), std::nullopt);
  EXPECT_EQ(pdo_table_text(table),
            "<PDOJ1939>"
            "<row COB-ID=\"1\" Dimension=\"1\" Offset=\"1\" DataChange=\"\" OnCAN=\"\" OnTimer=\"\" SendTimer=\"\" Mnemonic=\"\"/>"
            "<row COB-ID=\"2\" Dimension=\"1\" Offset=\"1\" DataChange=\"\" OnCAN=\"\" OnTimer=\"\" SendTimer=\"\" Mnemonic=\"\"/>"
            "</PDOJ1939><!--SW_VERSION = 2.001-->");
  PdoTable empty = transmit_table({});
  EXPECT_EQ(pdo_table_text(empty), "<PDOJ1939/><!--SW_VERSION = 2.001-->");
}

TEST(TransmitPdos, OpenLoadsDefaultsAndFrameChoicesAndSavesExactBytes) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", kReceiveFrames);
  write_text(dir / "TpdoJ1939.xml",
             "<PDOJ1939>\n"
             " <row COB-ID=\"0x181\" Dimension=\"4\" Offset=\"17\" Frame_J1939=\"2\" DataChange=\"Y\" OnCAN=\"N\" "
             "OnTimer=\"Y\" SendTimer=\"100\" Mnemonic=\"speed\"/>\n"
             " <other COB-ID=\"0x182\" Dimension=\"2\" Frame_J1939=\"5\" Mnemonic=\"\"/>\n"
             " <row COB-ID=\"0x183\" Dimension=\"2\" Frame_J1939=\"0\" Mnemonic=\"\"/>\n"
             " <row COB-ID=\"0x184\" Dimension=\"2\" Frame_J1939=\"4\" Mnemonic=\"\"/>\n"
             "</PDOJ1939>\n<!--SW_VERSION = 2.001-->");
  Result<PdoTable> table = open_pdo_table(PdoVariant::kTransmit, dir / "ParGen.xml", dir / "RCobDef.xml", dir / "TpdoJ1939.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->capacity, 10);
  const int frame = static_cast<int>(TpdoColumn::kFrame);
  EXPECT_EQ(table->cells.cell(0, frame), "2;65226;3;");
  EXPECT_EQ(table->cells.cell(1, frame), "");  // 5 > four frames
  EXPECT_EQ(table->cells.cell(2, frame), "");  // 0
  EXPECT_EQ(table->cells.cell(3, frame), "4;1;2;");
  EXPECT_EQ(table->cells.cell(1, static_cast<int>(TpdoColumn::kStartByte)), "1");  // no Offset
  EXPECT_EQ(table->cells.cell(1, static_cast<int>(TpdoColumn::kOnTimer)), "");
  EXPECT_EQ(validate_pdo_table(*table), std::nullopt);
  ASSERT_TRUE(save_pdo_table(*table, dir / "TpdoJ1939.xml").ok());
  EXPECT_EQ(read_text(dir / "TpdoJ1939.xml"),
            "<PDOJ1939>"
            "<row COB-ID=\"0x181\" Dimension=\"4\" Offset=\"17\" Frame_J1939=\"2\" DataChange=\"Y\" OnCAN=\"N\" "
            "OnTimer=\"Y\" SendTimer=\"100\" Mnemonic=\"speed\"/>"
            "<row COB-ID=\"0x182\" Dimension=\"2\" Offset=\"1\" DataChange=\"\" OnCAN=\"\" OnTimer=\"\" SendTimer=\"\" Mnemonic=\"\"/>"
            "<row COB-ID=\"0x183\" Dimension=\"2\" Offset=\"1\" DataChange=\"\" OnCAN=\"\" OnTimer=\"\" SendTimer=\"\" Mnemonic=\"\"/>"
            "<row COB-ID=\"0x184\" Dimension=\"2\" Offset=\"1\" Frame_J1939=\"4\" DataChange=\"\" OnCAN=\"\" OnTimer=\"\" "
            "SendTimer=\"\" Mnemonic=\"\"/>"
            "</PDOJ1939><!--SW_VERSION = 2.001-->");
}

TEST(TransmitPdos, TenRowsWithoutPortShowAndSaveFourWithHiddenValues) {
  TempDir dir;
  write_text(dir / "ParGen.xml", kWithoutPort);
  std::string file = "<PDOJ1939>";
  for (int i = 1; i <= 10; ++i) {
    file += "<row COB-ID=\"" + std::to_string(i) +
            "\" Dimension=\"1\" Offset=\"1\" DataChange=\"Y\" OnCAN=\"N\" OnTimer=\"Y\" SendTimer=\"0\" Mnemonic=\"\"/>";
  }
  write_text(dir / "TpdoJ1939.xml", file + "</PDOJ1939>");
  Result<PdoTable> table = open_pdo_table(PdoVariant::kTransmit, dir / "ParGen.xml", dir / "RCobDef.xml", dir / "TpdoJ1939.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->capacity, 4);
  EXPECT_EQ(table->cells.row_count(), 4);
  EXPECT_FALSE(table->cells.column_shown(static_cast<int>(TpdoColumn::kSendTimer), table->port));
  EXPECT_EQ(validate_pdo_table(*table), std::nullopt);  // hidden send timer 0 is not checked
  const std::string text = pdo_table_text(*table);
  EXPECT_EQ(text.find("COB-ID=\"5\""), std::string::npos);
  EXPECT_NE(text.find("<row COB-ID=\"4\" Dimension=\"1\" Offset=\"1\" DataChange=\"Y\" OnCAN=\"N\" OnTimer=\"Y\" "
                      "SendTimer=\"0\" Mnemonic=\"\"/></PDOJ1939>"),
            std::string::npos)
      << text;
}

TEST(TransmitPdos, UnreadableFilesRefuseToOpen) {
  struct Case {
    const char* what;
    const char* frames;
    const char* table;
    const char* expected;
  };
  const Case cases[] = {
      {"pdo without COB-ID", "", "<PDOJ1939><row Dimension=\"1\" Mnemonic=\"\"/></PDOJ1939>", "TpdoJ1939.xml: row 1 has no attribute COB-ID"},
      {"pdo without Dimension", "", "<PDOJ1939><row COB-ID=\"1\" Mnemonic=\"\"/></PDOJ1939>", "row 1 has no attribute Dimension"},
      {"pdo without Mnemonic", "", "<PDOJ1939><row COB-ID=\"1\" Dimension=\"1\"/></PDOJ1939>", "row 1 has no attribute Mnemonic"},
      {"frame without PGN", "<COBID><row ID_DEV=\"1\"/></COBID>", "", "RCobDef.xml: row 1 has no attribute PGN"},
      {"malformed pdo file", "", "<PDOJ1939><row></PDOJ1939>", "TpdoJ1939.xml: line 1"},
      {"malformed frames file", "<COBID>", "", "RCobDef.xml: line 1"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (*c.frames) write_text(dir / "RCobDef.xml", c.frames);
    if (*c.table) write_text(dir / "TpdoJ1939.xml", c.table);
    Result<PdoTable> table = open_pdo_table(PdoVariant::kTransmit, dir / "ParGen.xml", dir / "RCobDef.xml", dir / "TpdoJ1939.xml");
    ASSERT_FALSE(table.ok()) << c.what;
    EXPECT_NE(table.error().message.find(c.expected), std::string::npos) << c.what << ": " << table.error().message;
  }
}

TEST(TransmitPdos, RowMovesStayWithinTheCapacity) {
  PdoTable table = transmit_table({{"1", "", "", "", "", "", "", "t1"}, {"2"}, {"3"}, {"4"}}, EthernetPort::kNeither);
  ASSERT_EQ(table.capacity, 4);
  table.cells.insert_row(0);
  EXPECT_EQ(table.cells.cell(0, 0), "");
  EXPECT_EQ(table.cells.cell(1, 0), "1");
  EXPECT_EQ(table.cells.cell(1, static_cast<int>(TpdoColumn::kSendTimer)), "t1");
  EXPECT_EQ(table.cells.cell(3, 0), "3");
  table.cells.delete_row(3);
  EXPECT_EQ(table.cells.cell(3, 0), "");
}

TEST(ReceivePdos, ValidationTable) {
  struct Case {
    std::vector<std::string> row;  // COB-ID, Dimension, Start, Frame
    std::optional<int> message;
  };
  const Case cases[] = {
      {{"0x7FF", "8", "1"}, std::nullopt},
      {{"0x800", "8", "1"}, 446},
      {{"-1", "8", "1"}, 446},
      {{"1", "", "1"}, 447},
      {{"1", "8", "2"}, 449},
      {{"1", "1", "8"}, std::nullopt},
      {{"1", "1", "9", "1;61444;0;"}, 448},
      {{"1", "1", "0"}, 448},
      {{"1", "1", "1", "not a choice"}, std::nullopt},
  };
  for (const Case& c : cases) {
    PdoTable table(PdoVariant::kReceive, EthernetPort::kWithPort);
    for (std::size_t i = 0; i < c.row.size(); ++i) table.cells.set_cell(0, static_cast<int>(i), c.row[i]);
    const std::optional<RowFailure> failure = validate_pdo_table(table);
    if (!c.message) {
      EXPECT_EQ(failure, std::nullopt) << c.row[0] << "/" << c.row[1] << "/" << c.row[2];
    } else {
      EXPECT_EQ(failure, (RowFailure{1, 445, *c.message, std::nullopt})) << c.row[0] << "/" << c.row[1] << "/" << c.row[2];
    }
  }
}

TEST(ReceivePdos, FramesFromTransmitFramesAndRoundTrip) {
  TempDir dir;
  write_text(dir / "TCobDef.xml",
             "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"1\" ID_DEV=\"1\" Mnemonic=\"\"/>"
             "<row Priority=\"6\" DP=\"0\" PGN=\"2\" ID_DEV=\"1\" Mnemonic=\"\"/>"
             "<row Priority=\"6\" DP=\"0\" PGN=\"3\" ID_DEV=\"1\" Mnemonic=\"\"/>"
             "<row Priority=\"6\" DP=\"0\" PGN=\"4\" ID_DEV=\"1\" Mnemonic=\"\"/>"
             "<row Priority=\"6\" DP=\"0\" PGN=\"65262\" ID_DEV=\"3\" MultiFrame=\"Y\" NByte=\"20\" Mnemonic=\"\"/></COBID>");
  const std::string saved =
      "<Define_RPDO><row COB-ID=\"0x201\" Dimension=\"2\" Offset=\"3\" Frame_J1939=\"5\" Mnemonic=\"set\"/>"
      "<row COB-ID=\"0x202\" Dimension=\"8\" Offset=\"1\" Mnemonic=\"\"/></Define_RPDO><!--SW_VERSION = 2.001-->";
  write_text(dir / "pdoJ1939.xml", saved);
  Result<PdoTable> table = open_pdo_table(PdoVariant::kReceive, dir / "ParGen.xml", dir / "TCobDef.xml", dir / "pdoJ1939.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->cells.column_count(), 5);
  EXPECT_EQ(table->cells.cell(0, static_cast<int>(RpdoColumn::kFrame)), "5;65262;3;");
  EXPECT_EQ(table->frames[4].length, 8);
  EXPECT_EQ(validate_pdo_table(*table), std::nullopt);
  ASSERT_TRUE(save_pdo_table(*table, dir / "pdoJ1939.xml").ok());
  EXPECT_EQ(read_text(dir / "pdoJ1939.xml"), saved);
}

}  // namespace
}  // namespace brenvale
