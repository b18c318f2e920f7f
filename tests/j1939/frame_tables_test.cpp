#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "j1939/receive_frames.h"
#include "j1939/transmit_frames.h"
#include "project/atomic_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

constexpr const char* kEmptyFile = "<COBID/><!--SW_VERSION = 2.001-->";
constexpr EthernetPort kWith = EthernetPort::kWithPort;
constexpr EthernetPort kWithout = EthernetPort::kWithoutPort;

std::string rows_file(int count, const std::string& row) {
  std::string text = "<COBID>\n";
  for (int i = 0; i < count; ++i) text += "  " + row + "\n";
  return text + "</COBID>\n";
}

// ---- receive frames ----

struct ReceiveRow {
  std::string dp, pgn, sa, multi, start, bytes, del, on_request, time, mnemonic;
};

void put(ReceiveFrames& t, int row, const ReceiveRow& v) {
  const std::string* values[] = {&v.dp,  &v.pgn, &v.sa,         &v.multi, &v.start,
                                 &v.bytes, &v.del, &v.on_request, &v.time,  &v.mnemonic};
  for (int c = 0; c < static_cast<int>(ReceiveColumn::kCount); ++c) t.cells.set_cell(row, c, *values[c]);
}

TEST(ReceiveFrames, NoFileGivesHundredEmptyRowsAndSavesRootAndComment) {
  TempDir dir;
  Result<ReceiveFrames> table = open_receive_frames(dir / "ParGen.xml", dir / "RCobDef.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->cells.row_count(), 100);
  for (int r = 0; r < 100; ++r)
    for (int c = 0; c < table->cells.column_count(); ++c) ASSERT_EQ(table->cells.cell(r, c), "");
  EXPECT_EQ(validate_receive_frames(*table), std::nullopt);
  ASSERT_TRUE(save_receive_frames(*table, dir / "RCobDef.xml").ok());
  EXPECT_EQ(read_text(dir / "RCobDef.xml"), kEmptyFile);
}

TEST(ReceiveFrames, MissingOptionalAttributesTakeTheirDefaults) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", "<COBID><row PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"EEC1\"/></COBID>");
  Result<ReceiveFrames> table = load_receive_frames(dir / "RCobDef.xml", kWith);
  ASSERT_TRUE(table.ok()) << table.error().message;
  const std::vector<std::string> expected = {"0", "61444", "0", "", "", "", "N", "N", "1000", "EEC1"};
  for (int c = 0; c < static_cast<int>(ReceiveColumn::kCount); ++c) EXPECT_EQ(table->cells.cell(0, c), expected[c]) << c;
  EXPECT_EQ(receive_frames_text(*table),
            "<COBID><row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" MultiFrame=\"\" StartByte=\"\" NByte=\"\" Delete=\"N\" "
            "OnRequest=\"N\" OnReq_Time=\"1000\" Mnemonic=\"EEC1\"/></COBID><!--SW_VERSION = 2.001-->");
}

TEST(ReceiveFrames, MissingRequiredAttributeNamesFileRowAndAttribute) {
  const char* full = "DP=\"0\" PGN=\"1\" ID_DEV=\"2\" Delete=\"N\" Mnemonic=\"m\"";
  for (const std::string name : {"PGN", "ID_DEV", "Delete", "Mnemonic"}) {
    TempDir dir;
    std::string second = full;
    const std::size_t at = second.find(" " + name + "=");
    second.erase(at, second.find('"', second.find('"', at) + 1) + 1 - at);
    write_text(dir / "RCobDef.xml", std::string("<COBID><row ") + full + "/><row " + second + "/></COBID>");
    Result<ReceiveFrames> table = load_receive_frames(dir / "RCobDef.xml", kWith);
    ASSERT_FALSE(table.ok()) << name;
    const std::string& message = table.error().message;
    EXPECT_NE(message.find("RCobDef.xml"), std::string::npos) << message;
    EXPECT_NE(message.find("row 2"), std::string::npos) << message;
    EXPECT_NE(message.find(name), std::string::npos) << message;
  }
}

TEST(ReceiveFrames, MalformedFilesRefuseToOpenWithTheirPosition) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", "<COBID>\n<row PGN=\"1\"\n</COBID>");
  Result<ReceiveFrames> table = open_receive_frames(dir / "ParGen.xml", dir / "RCobDef.xml");
  ASSERT_FALSE(table.ok());
  EXPECT_NE(table.error().message.find("RCobDef.xml: line 3"), std::string::npos) << table.error().message;

  write_text(dir / "RCobDef.xml", kEmptyFile);
  write_text(dir / "ParGen.xml", "<ParGen><Select_Device>x</ParGen>");
  table = open_receive_frames(dir / "ParGen.xml", dir / "RCobDef.xml");
  ASSERT_FALSE(table.ok());
  EXPECT_NE(table.error().message.find("ParGen.xml"), std::string::npos) << table.error().message;
}

TEST(ReceiveFrames, VariantFromParGenHidesSixColumns) {
  TempDir dir;
  write_text(dir / "ParGen.xml", "<ParGen><Select_Device>device without ethernet port</Select_Device></ParGen>");
  Result<ReceiveFrames> table = open_receive_frames(dir / "ParGen.xml", dir / "RCobDef.xml");
  ASSERT_TRUE(table.ok());
  std::vector<bool> shown;
  for (int c = 0; c < static_cast<int>(ReceiveColumn::kCount); ++c) shown.push_back(table->cells.column_shown(c, table->port));
  EXPECT_EQ(shown, (std::vector<bool>{false, true, true, false, false, false, true, false, false, true}));
  table->port = kWith;
  for (int c = 0; c < static_cast<int>(ReceiveColumn::kCount); ++c) EXPECT_TRUE(table->cells.column_shown(c, kWith));
}

TEST(ReceiveFrames, ChildrenBeyondTheHundredthAreIgnored) {
  TempDir dir;
  write_text(dir / "RCobDef.xml",
             rows_file(120, "<row DP=\"0\" PGN=\"1\" ID_DEV=\"2\" Delete=\"N\" Mnemonic=\"m\"/>") );
  Result<ReceiveFrames> table = load_receive_frames(dir / "RCobDef.xml", kWithout);
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table->cells.content_rows(static_cast<int>(ReceiveColumn::kPgn)), 100);
  EXPECT_EQ(validate_receive_frames(*table), std::nullopt);  // 100 × 8 bytes = 800
  const std::string text = receive_frames_text(*table);
  std::size_t rows = 0;
  for (std::size_t at = text.find("<row "); at != std::string::npos; at = text.find("<row ", at + 1)) ++rows;
  EXPECT_EQ(rows, 100u);
}

TEST(ReceiveFrames, ValidationGivesTheFirstFailingCheckOfItsRow) {
  struct Case {
    const char* what;
    EthernetPort port;
    std::vector<ReceiveRow> rows;
    std::optional<RowFailure> expected;
  };
  const ReceiveRow good{"0", "61444", "0", "N", "", "", "N", "N", "1000", "m"};
  auto with = [&](auto change) { ReceiveRow r = good; change(r); return r; };
  auto fail = [](int row, int message) { return RowFailure{row, 539, message, std::nullopt}; };
  const std::vector<Case> cases = {
      {"good row", kWith, {good}, std::nullopt},
      {"no data page with port", kWith, {good, with([](auto& r) { r.dp = " "; })}, fail(2, 540)},
      {"no data page without port", kWithout, {with([](auto& r) { r.dp = ""; r.on_request = ""; r.time = ""; r.multi = ""; })}, std::nullopt},
      {"pgn 65536", kWith, {with([](auto& r) { r.pgn = "65536"; })}, fail(1, 541)},
      {"pgn 0xFFFF", kWith, {with([](auto& r) { r.pgn = "0xFFFF"; })}, std::nullopt},
      {"pgn with trailing blank", kWith, {with([](auto& r) { r.pgn = "12 "; })}, fail(1, 541)},
      {"address 256", kWith, {with([](auto& r) { r.sa = "256"; })}, fail(1, 542)},
      {"address empty", kWith, {with([](auto& r) { r.sa = ""; })}, fail(1, 542)},
      {"tp 0 + 1785", kWith, {with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1785"; })}, std::nullopt},
      {"tp 1 + 1785", kWith, {with([](auto& r) { r.multi = "Y"; r.start = "1"; r.bytes = "1785"; })}, fail(1, 544)},
      {"tp 0 bytes", kWith, {with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "0"; })}, fail(1, 544)},
      {"tp start 1786", kWith, {with([](auto& r) { r.multi = "Y"; r.start = "1786"; r.bytes = "1"; })}, fail(1, 543)},
      {"tp start empty", kWith, {with([](auto& r) { r.multi = "Y"; r.start = ""; r.bytes = "1"; })}, fail(1, 543)},
      {"tp lower-case y is off", kWith, {with([](auto& r) { r.multi = "y"; r.start = "x"; r.bytes = "x"; })}, std::nullopt},
      {"tp hidden is off", kWithout, {with([](auto& r) { r.multi = "Y"; r.start = "x"; r.bytes = "x"; })}, std::nullopt},
      {"1000 + 1001 bytes", kWith,
       {with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1000"; }),
        with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1001"; })},
       fail(2, 545)},
      {"1000 + 992 + 8 bytes", kWith,
       {with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1000"; }),
        with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "992"; }), good},
       std::nullopt},
      {"hidden tp counts 8 bytes", kWithout,
       {with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1785"; }),
        with([](auto& r) { r.multi = "Y"; r.start = "0"; r.bytes = "1785"; })},
       std::nullopt},
      {"on request time 1", kWith, {with([](auto& r) { r.on_request = "Y"; r.time = "1"; })}, fail(1, 546)},
      {"on request time 2", kWith, {with([](auto& r) { r.on_request = "Y"; r.time = "2"; })}, std::nullopt},
      {"on request time 10000001", kWith, {with([](auto& r) { r.on_request = "Y"; r.time = "10000001"; })}, fail(1, 546)},
      {"off request bad time", kWith, {with([](auto& r) { r.on_request = "N"; r.time = "abc"; })}, std::nullopt},
      {"hidden request bad time", kWithout, {with([](auto& r) { r.on_request = "Y"; r.time = "1"; })}, std::nullopt},
      {"rows after empty pgn not checked", kWith,
       {good, with([](auto& r) { r.pgn = "  "; }), with([](auto& r) { r.sa = "999"; })}, std::nullopt},
  };
  for (const Case& c : cases) {
    ReceiveFrames table;
    table.port = c.port;
    for (std::size_t i = 0; i < c.rows.size(); ++i) put(table, static_cast<int>(i), c.rows[i]);
    EXPECT_EQ(validate_receive_frames(table), c.expected) << c.what;
  }
}

TEST(ReceiveFrames, MessageIsRowPrefixRowNumberAndCheckText) {
  Catalogue catalogue;
  EXPECT_EQ(failure_text(catalogue, RowFailure{7, 539, 545, std::nullopt}),
            "Error in row 7!! The Configuration use more of 2000 bytes");
}

TEST(ReceiveFrames, SavingStopsAtTheFirstEmptyPgnAndKeepsTextsAsTyped) {
  ReceiveFrames table;
  table.port = kWithout;
  put(table, 0, {"", " 12", "0x10", "", "", "", "Y", "", "", "a&b"});
  put(table, 1, {"1", " ", "3", "", "", "", "N", "", "", ""});
  put(table, 2, {"1", "5", "3", "", "", "", "N", "", "", ""});
  EXPECT_EQ(validate_receive_frames(table), std::nullopt);
  EXPECT_EQ(receive_frames_text(table),
            "<COBID><row DP=\"\" PGN=\" 12\" ID_DEV=\"0x10\" MultiFrame=\"\" StartByte=\"\" NByte=\"\" Delete=\"Y\" "
            "OnRequest=\"\" OnReq_Time=\"\" Mnemonic=\"a&amp;b\"/></COBID><!--SW_VERSION = 2.001-->");
}

TEST(ReceiveFrames, HiddenCellsSurviveASaveWithoutPort) {
  TempDir dir;
  const std::string saved =
      "<COBID><row DP=\"1\" PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\"Y\" StartByte=\"4\" NByte=\"30\" Delete=\"N\" "
      "OnRequest=\"Y\" OnReq_Time=\"500\" Mnemonic=\"DM1\"/></COBID><!--SW_VERSION = 2.001-->";
  write_text(dir / "RCobDef.xml", saved);
  Result<ReceiveFrames> table = load_receive_frames(dir / "RCobDef.xml", kWithout);
  ASSERT_TRUE(table.ok());
  ASSERT_EQ(validate_receive_frames(*table), std::nullopt);
  ASSERT_TRUE(save_receive_frames(*table, dir / "RCobDef.xml").ok());
  EXPECT_EQ(read_text(dir / "RCobDef.xml"), saved);
}

TEST(ReceiveFrames, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", kEmptyFile);
  ReceiveFrames table;
  put(table, 0, {"0", "1", "2", "", "", "", "N", "N", "1000", "a long enough mnemonic"});
  set_write_fault_after(10);
  const Status saved = save_receive_frames(table, dir / "RCobDef.xml");
  set_write_fault_after(std::nullopt);
  EXPECT_FALSE(saved.ok());
  EXPECT_EQ(read_text(dir / "RCobDef.xml"), kEmptyFile);
  EXPECT_EQ(testing::entry_count(dir.path()), 1u);
}

// ---- row moves (shared by every cell table) ----

std::vector<std::string> column_of(const CellTable& t, int column) {
  std::vector<std::string> v;
  for (int r = 0; r < t.row_count(); ++r) v.push_back(t.cell(r, column));
  return v;
}

TEST(FrameRows, InsertAndDeleteMoveWholeRowsHiddenCellsIncluded) {
  ReceiveFrames table;
  table.port = kWithout;
  for (int r = 0; r < 100; ++r) {
    table.set_cell(r, ReceiveColumn::kPgn, std::to_string(r + 1));
    table.set_cell(r, ReceiveColumn::kStartByte, "s" + std::to_string(r + 1));  // hidden column
  }
  table.cells.insert_row(1);
  std::vector<std::string> pgn = column_of(table.cells, static_cast<int>(ReceiveColumn::kPgn));
  std::vector<std::string> start = column_of(table.cells, static_cast<int>(ReceiveColumn::kStartByte));
  EXPECT_EQ(pgn[0], "1");
  EXPECT_EQ(pgn[1], "");
  EXPECT_EQ(start[1], "");
  EXPECT_EQ(pgn[2], "2");
  EXPECT_EQ(start[2], "s2");
  EXPECT_EQ(pgn[99], "99");  // row 100's content is lost

  table.cells.delete_row(1);
  pgn = column_of(table.cells, static_cast<int>(ReceiveColumn::kPgn));
  start = column_of(table.cells, static_cast<int>(ReceiveColumn::kStartByte));
  EXPECT_EQ(pgn[1], "2");
  EXPECT_EQ(start[1], "s2");
  EXPECT_EQ(pgn[98], "99");
  EXPECT_EQ(pgn[99], "");
  EXPECT_EQ(start[99], "");

  table.cells.insert_row(99);  // the last row: only emptied
  table.set_cell(99, ReceiveColumn::kPgn, "x");
  table.cells.delete_row(99);
  EXPECT_EQ(table.cell(99, ReceiveColumn::kPgn), "");
  EXPECT_EQ(table.cell(98, ReceiveColumn::kPgn), "99");
  table.cells.insert_row(100);  // outside: nothing
  table.cells.delete_row(-1);
  EXPECT_EQ(table.cell(0, ReceiveColumn::kPgn), "1");
}

// ---- transmit frames ----

struct TransmitRow {
  std::string priority, dp, pgn, sa, num, on_request, data_change, on_timer, time, mnemonic;
};

void put(TransmitFrames& t, int row, const TransmitRow& v) {
  const std::string* values[] = {&v.priority,   &v.dp,          &v.pgn,      &v.sa,   &v.num,
                                 &v.on_request, &v.data_change, &v.on_timer, &v.time, &v.mnemonic};
  for (int c = 0; c < static_cast<int>(TransmitColumn::kCount); ++c) t.cells.set_cell(row, c, *values[c]);
}

TEST(TransmitFrames, LoadDefaultsAndNumByteAlwaysEight) {
  TempDir dir;
  write_text(dir / "TCobDef.xml",
             "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"65262\" ID_DEV=\"0\" NumByte=\"3\" Mnemonic=\"ET1\"/>"
             "<row Priority=\"3\" DP=\"1\" PGN=\"1\" ID_DEV=\"2\" Mnemonic=\"\"/></COBID>");
  Result<TransmitFrames> table = load_transmit_frames(dir / "TCobDef.xml", kWith);
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->cell(0, TransmitColumn::kNumByte), "8");
  EXPECT_EQ(table->cell(0, TransmitColumn::kOnRequest), "N");
  EXPECT_EQ(table->cell(0, TransmitColumn::kDataChange), "N");
  EXPECT_EQ(table->cell(0, TransmitColumn::kOnTimer), "N");
  EXPECT_EQ(table->cell(0, TransmitColumn::kTime), "1000");
  table->set_cell(1, TransmitColumn::kNumByte, "");  // a row typed in the window has no NumByte text
  EXPECT_EQ(transmit_frames_text(*table),
            "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"65262\" ID_DEV=\"0\" NumByte=\"8\" OnRequest=\"N\" "
            "DataChange=\"N\" OnTimer=\"N\" OnTimer_Time=\"1000\" Mnemonic=\"ET1\"/>"
            "<row Priority=\"3\" DP=\"1\" PGN=\"1\" ID_DEV=\"2\" NumByte=\"8\" OnRequest=\"N\" "
            "DataChange=\"N\" OnTimer=\"N\" OnTimer_Time=\"1000\" Mnemonic=\"\"/></COBID><!--SW_VERSION = 2.001-->");
}

TEST(TransmitFrames, MissingRequiredAttributeRefuses) {
  for (const char* name : {"Priority", "DP", "PGN", "ID_DEV", "Mnemonic"}) {
    TempDir dir;
    std::string row = "<row";
    for (const char* a : {"Priority", "DP", "PGN", "ID_DEV", "Mnemonic"}) {
      if (std::string(a) != name) row += std::string(" ") + a + "=\"1\"";
    }
    write_text(dir / "TCobDef.xml", "<COBID>" + row + "/></COBID>");
    Result<TransmitFrames> table = load_transmit_frames(dir / "TCobDef.xml", kWith);
    ASSERT_FALSE(table.ok()) << name;
    EXPECT_NE(table.error().message.find("TCobDef.xml: row 1 has no attribute " + std::string(name)), std::string::npos)
        << table.error().message;
  }
}

TEST(TransmitFrames, VisibilityHidesNumByteAlwaysAndTriggersWithoutPort) {
  TransmitFrames table;
  std::vector<bool> with, without;
  for (int c = 0; c < static_cast<int>(TransmitColumn::kCount); ++c) {
    with.push_back(table.cells.column_shown(c, kWith));
    without.push_back(table.cells.column_shown(c, EthernetPort::kNeither));
  }
  EXPECT_EQ(with, (std::vector<bool>{true, true, true, true, false, true, true, true, true, true}));
  EXPECT_EQ(without, (std::vector<bool>{true, true, true, true, false, false, false, false, false, true}));
}

TEST(TransmitFrames, ValidationRunsEveryCheckWhateverIsShown) {
  struct Case {
    const char* what;
    EthernetPort port;
    std::vector<TransmitRow> rows;
    std::optional<RowFailure> expected;
  };
  const TransmitRow good{"6", "0", "65262", "0", "8", "N", "N", "N", "1000", "m"};
  auto with = [&](auto change) { TransmitRow r = good; change(r); return r; };
  auto fail = [](int row, int message) { return RowFailure{row, 564, message, std::nullopt}; };
  const std::vector<Case> cases = {
      {"good", kWith, {good}, std::nullopt},
      {"priority 8", kWith, {good, with([](auto& r) { r.priority = "8"; })}, fail(2, 565)},
      {"priority -1", kWith, {with([](auto& r) { r.priority = "-1"; })}, fail(1, 565)},
      {"no data page with port", kWith, {with([](auto& r) { r.dp = ""; })}, fail(1, 566)},
      {"no data page without port", kWithout, {with([](auto& r) { r.dp = " "; })}, fail(1, 566)},
      {"pgn 131071", kWith, {with([](auto& r) { r.pgn = "131071"; })}, std::nullopt},
      {"pgn 131072", kWith, {with([](auto& r) { r.pgn = "131072"; })}, fail(1, 567)},
      {"address x", kWith, {with([](auto& r) { r.sa = "x"; })}, fail(1, 568)},
      {"timer 0", kWith, {with([](auto& r) { r.on_timer = "Y"; r.time = "0"; })}, fail(1, 569)},
      {"timer 1", kWith, {with([](auto& r) { r.on_timer = "Y"; r.time = "1"; })}, std::nullopt},
      {"timer 10000001", kWith, {with([](auto& r) { r.on_timer = "Y"; r.time = "10000001"; })}, fail(1, 569)},
      {"timer off empty time", kWith, {with([](auto& r) { r.on_timer = "N"; r.time = ""; })}, std::nullopt},
      {"hidden timer 0", kWithout, {with([](auto& r) { r.on_timer = "Y"; r.time = "0"; })}, fail(1, 569)},
      {"rows after empty priority", kWith, {good, with([](auto& r) { r.priority = ""; }), with([](auto& r) { r.pgn = "-5"; })},
       std::nullopt},
  };
  for (const Case& c : cases) {
    TransmitFrames table;
    table.port = c.port;
    for (std::size_t i = 0; i < c.rows.size(); ++i) put(table, static_cast<int>(i), c.rows[i]);
    EXPECT_EQ(validate_transmit_frames(table), c.expected) << c.what;
  }
  Catalogue catalogue;
  EXPECT_EQ(failure_text(catalogue, fail(3, 569)), "Error in row 3!! Time(ms) must be between 0 and 10000000ms");
}

TEST(TransmitFrames, HundredTwentyRowsShowAndSaveHundred) {
  TempDir dir;
  write_text(dir / "TCobDef.xml", rows_file(120, "<row Priority=\"6\" DP=\"0\" PGN=\"1\" ID_DEV=\"2\" Mnemonic=\"m\"/>"));
  Result<TransmitFrames> table = open_transmit_frames(dir / "ParGen.xml", dir / "TCobDef.xml");
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table->cells.content_rows(0), 100);
  ASSERT_TRUE(save_transmit_frames(*table, dir / "TCobDef.xml").ok());
  Result<TransmitFrames> again = load_transmit_frames(dir / "TCobDef.xml", kWith);
  ASSERT_TRUE(again.ok());
  EXPECT_EQ(again->cells.content_rows(0), 100);
}

}  // namespace
}  // namespace brenvale
