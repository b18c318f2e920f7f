#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "canopen/sdo_server_table.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

constexpr const char* kReceiveFrames =
    "<COBID>"
    "<row DP=\"0\" PGN=\"61444\" ID_DEV=\"0\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row PGN=\"65226\" ID_DEV=\"3\" MultiFrame=\" y \" NByte=\"20\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"1\" PGN=\"65262\" ID_DEV=\"0\" MultiFrame=\"Y\" NByte=\"abc\" Delete=\"N\" Mnemonic=\"\"/>"
    "<row DP=\"1\" PGN=\"2\" ID_DEV=\"0\" MultiFrame=\"Y\" Delete=\"N\" Mnemonic=\"\"/>"
    "</COBID>";

constexpr const char* kTransmitFrames =
    "<COBID><row Priority=\"6\" DP=\"0\" PGN=\"1\" ID_DEV=\"1\" Mnemonic=\"\"/>"
    "<row Priority=\"6\" DP=\"1\" PGN=\"2\" ID_DEV=\"2\" MultiFrame=\"Y\" NByte=\"20\" Mnemonic=\"\"/></COBID>";

TSDO object(const char* index, const char* sub, int dimension = 0, std::array<int, 4> bytes = {1, 2, 3, 4}) {
  return TSDO{index, sub, dimension, bytes, 0};
}

SdoServerTable read_table(int frames) {
  SdoServerTable table(SdoVariant::kRead);
  table.frames().resize(static_cast<std::size_t>(frames));
  return table;
}

TEST(SdoServer, ReadFramesAndTheirLengths) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", kReceiveFrames);
  Result<SdoServerTable> table = SdoServerTable::open(SdoVariant::kRead, dir / "RCobDef.xml", dir / "RInfoCob.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  const auto& frames = table->frames();
  ASSERT_EQ(frames.size(), 4u);
  EXPECT_EQ(sdo_frame_line(frames[0]), "0\t61444\t0");
  EXPECT_EQ(frames[1].data_page, "");
  EXPECT_EQ(frames[0].num_byte, 8);
  EXPECT_EQ(frames[1].num_byte, 20);  // " y " trimmed and upper-cased
  EXPECT_EQ(frames[2].num_byte, 0);   // NByte "abc": only "None" to choose
  EXPECT_EQ(frames[3].num_byte, 8);   // no NByte
  EXPECT_EQ(sdo_byte_choices(frames[1].num_byte).size(), 21u);
  EXPECT_EQ(sdo_byte_choices(frames[1].num_byte).back(), "Byte 20");
  EXPECT_EQ(sdo_byte_choices(0), std::vector<std::string>{"None"});
  EXPECT_EQ(sdo_byte_choices(-3), std::vector<std::string>{"None"});
  EXPECT_EQ(sdo_byte_choices(2000000000).size(), 1786u);
}

TEST(SdoServer, WriteFramesAreAlwaysEightBytes) {
  TempDir dir;
  write_text(dir / "TCobDef.xml", kTransmitFrames);
  Result<SdoServerTable> table = SdoServerTable::open(SdoVariant::kWrite, dir / "TCobDef.xml", dir / "TInfoCob.xml");
  ASSERT_TRUE(table.ok());
  EXPECT_EQ(table->frames()[1].num_byte, 8);
}

TEST(SdoServer, CreateChecksInOrder) {
  struct Case {
    const char* index;
    const char* sub;
    std::optional<int> read_message;
  };
  const Case cases[] = {
      {"0x2000", "0", std::nullopt}, {"$5FFF", "255", std::nullopt}, {"8192", "7", std::nullopt},
      {"8191", "0", 472},            {"0x6000", "0", 472},           {"", "0", 472},
      {"0x2000 ", "0", 472},         {"0x2001", "256", 473},         {"0x2001", "-1", 473},
      {"0x2001", "", 473},           {"x", "x", 472},
  };
  for (const Case& c : cases) {
    for (SdoVariant variant : {SdoVariant::kRead, SdoVariant::kWrite}) {
      SdoServerTable table(variant);
      table.frames().resize(1);
      const std::optional<int> expected =
          c.read_message ? std::optional<int>(*c.read_message + (variant == SdoVariant::kWrite ? 25 : 0)) : std::nullopt;
      EXPECT_EQ(table.create(0, object(c.index, c.sub)), expected) << c.index << "/" << c.sub;
      EXPECT_EQ(table.frames()[0].objects.size(), expected ? 0u : 1u);
    }
  }
}

TEST(SdoServer, UniquenessComparesIntegersAcrossFrames) {
  SdoServerTable table = read_table(2);
  ASSERT_EQ(table.create(0, object("0x2000", "1")), std::nullopt);
  EXPECT_EQ(table.create(1, object("0x2000", "1")), 474);
  EXPECT_EQ(table.create(1, object("8192", "01")), 474);
  EXPECT_EQ(table.create(1, object("$2000", "$1")), 474);
  EXPECT_EQ(table.create(1, object("0x2000", "2")), std::nullopt);
  // Modify keeps its own pair, refuses another object's pair.
  EXPECT_EQ(table.modify(0, 0, object("8192", "1", 1)), std::nullopt);
  EXPECT_EQ(table.frames()[0].objects[0], object("8192", "1", 1));
  EXPECT_EQ(table.modify(1, 0, object("0x2000", "1")), 474);
  EXPECT_EQ(table.frames()[1].objects[0].sub_index, "2");
  // The write table is a table of its own.
  SdoServerTable write(SdoVariant::kWrite);
  write.frames().resize(1);
  EXPECT_EQ(write.create(0, object("0x2000", "1")), std::nullopt);
  EXPECT_EQ(write.create(0, object("0x2000", "1")), 499);
}

TEST(SdoServer, StoredObjectsThatAreNoIntegersNeverCollide) {
  SdoServerTable table = read_table(1);
  table.frames()[0].objects.push_back(object("0x2000 ", "1"));
  EXPECT_EQ(table.create(0, object("0x2000", "1")), std::nullopt);
}

TEST(SdoServer, NoFrameOrObjectMeansNothingHappens) {
  SdoServerTable table = read_table(1);
  EXPECT_EQ(table.create(3, object("0x2000", "1")), std::nullopt);
  EXPECT_EQ(table.create(-1, object("0x2000", "1")), std::nullopt);
  EXPECT_EQ(table.modify(0, 0, object("0x2000", "1")), std::nullopt);
  table.remove(0, 0);
  EXPECT_TRUE(table.frames()[0].objects.empty());
  ASSERT_EQ(table.create(0, object("0x2000", "1")), std::nullopt);
  ASSERT_EQ(table.create(0, object("0x2000", "2")), std::nullopt);
  table.remove(0, 0);
  ASSERT_EQ(table.frames()[0].objects.size(), 1u);
  EXPECT_EQ(table.frames()[0].objects[0].sub_index, "2");
}

TEST(SdoServer, SizeRuleAndClipboard) {
  EXPECT_EQ(sdo_bytes_enabled(0), (std::array<bool, 4>{true, true, true, true}));
  EXPECT_EQ(sdo_bytes_enabled(1), (std::array<bool, 4>{true, true, false, false}));
  EXPECT_EQ(sdo_bytes_enabled(2), (std::array<bool, 4>{true, false, false, false}));
  EXPECT_EQ(apply_sdo_size_rule(object("a", "b", 1, {1, 2, 3, 4})).bytes, (std::array<int, 4>{1, 2, 0, 0}));
  EXPECT_EQ(apply_sdo_size_rule(object("a", "b", 2, {1, 2, 3, 4})).bytes, (std::array<int, 4>{1, 0, 0, 0}));

  SdoClipboard clipboard;
  EXPECT_EQ(clipboard.paste(), (TSDO{"", "", 0, {0, 0, 0, 0}, 0}));
  clipboard.copy(object("0x2000", "1", 2, {3, 0, 0, 0}));
  EXPECT_EQ(clipboard.paste(), object("0x2000", "1", 2, {3, 0, 0, 0}));
}

TEST(SdoServer, LoadDropsRowsNamingNoFrameAndSavesExactBytes) {
  TempDir dir;
  write_text(dir / "RCobDef.xml", kReceiveFrames);
  write_text(dir / "RInfoCob.xml",
             "<RInfoCob>\n"
             " <row NrPdo=\"2\" Index=\"0x2001\" SubIndex=\"1\" Dimension=\"1\" B1=\"20\" B2=\"19\" B3=\"0\" B4=\"0\"/>\n"
             " <row NrPdo=\"0\" Index=\"0x2002\" SubIndex=\"1\" Dimension=\"0\" B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\"/>\n"
             " <row NrPdo=\"5\" Index=\"0x2003\" SubIndex=\"1\" Dimension=\"0\" B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\"/>\n"
             " <x NrPdo=\"1\" Index=\"8192\" SubIndex=\"01\" Dimension=\"z\" B1=\"1\" B2=\"\" B3=\"0\" B4=\"0\"/>\n"
             " <row NrPdo=\"2\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"2\" B1=\"5\" B2=\"0\" B3=\"0\" B4=\"0\"/>\n"
             "</RInfoCob>\n<!--SW_VERSION = 2.001-->");
  Result<SdoServerTable> table = SdoServerTable::open(SdoVariant::kRead, dir / "RCobDef.xml", dir / "RInfoCob.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  ASSERT_EQ(table->frames()[0].objects.size(), 1u);
  ASSERT_EQ(table->frames()[1].objects.size(), 2u);
  EXPECT_EQ(sdo_object_line(table->frames()[1].objects[0]), "Index : 0x2001; Sub : 1;");
  EXPECT_EQ(table->frames()[0].objects[0].dimension, 0);  // "z" is no integer
  ASSERT_TRUE(table->save(dir / "RInfoCob.xml").ok());
  EXPECT_EQ(read_text(dir / "RInfoCob.xml"),
            "<RInfoCob>"
            "<row NrPdo=\"1\" Index=\"8192\" SubIndex=\"01\" Dimension=\"0\" B1=\"1\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
            "<row NrPdo=\"2\" Index=\"0x2001\" SubIndex=\"1\" Dimension=\"1\" B1=\"20\" B2=\"19\" B3=\"0\" B4=\"0\"/>"
            "<row NrPdo=\"2\" Index=\"0x2000\" SubIndex=\"2\" Dimension=\"2\" B1=\"5\" B2=\"0\" B3=\"0\" B4=\"0\"/>"
            "</RInfoCob><!--SW_VERSION = 2.001-->");
}

TEST(SdoServer, WriteTableSavesSendFlag) {
  TempDir dir;
  write_text(dir / "TCobDef.xml", kTransmitFrames);
  const std::string saved =
      "<DefineSDOServerTraJ1939>"
      "<row NrPdo=\"2\" Index=\"0x2000\" SubIndex=\"1\" Dimension=\"0\" B1=\"1\" B2=\"2\" B3=\"3\" B4=\"4\" Send_SDO=\"1\"/>"
      "</DefineSDOServerTraJ1939><!--SW_VERSION = 2.001-->";
  write_text(dir / "TInfoCob.xml", saved);
  Result<SdoServerTable> table = SdoServerTable::open(SdoVariant::kWrite, dir / "TCobDef.xml", dir / "TInfoCob.xml");
  ASSERT_TRUE(table.ok()) << table.error().message;
  EXPECT_EQ(table->frames()[1].objects[0].send_on_write, 1);
  EXPECT_EQ(table->file_text(), saved);
}

TEST(SdoServer, NoFramesMeansTheObjectFileIsNotReadAndOkEmptiesIt) {
  TempDir dir;
  write_text(dir / "RInfoCob.xml", "<RInfoCob><row");  // not even read
  Result<SdoServerTable> table = SdoServerTable::open(SdoVariant::kRead, dir / "RCobDef.xml", dir / "RInfoCob.xml");
  ASSERT_TRUE(table.ok());
  EXPECT_TRUE(table->frames().empty());
  EXPECT_EQ(table->file_text(), "<RInfoCob/><!--SW_VERSION = 2.001-->");
}

TEST(SdoServer, UnreadableFilesRefuseToOpen) {
  struct Case {
    SdoVariant variant;
    const char* frames;
    const char* objects;
    const char* expected;
  };
  const char* read_row = "<row NrPdo=\"1\" Index=\"1\" SubIndex=\"1\" Dimension=\"0\" B1=\"0\" B2=\"0\" B3=\"0\" B4=\"0\"/>";
  const std::string write_without_send = std::string("<T>") + read_row + "</T>";
  const Case cases[] = {
      {SdoVariant::kRead, "<COBID><row DP=\"0\" ID_DEV=\"1\"/></COBID>", "", "frames.xml: row 1 has no attribute PGN"},
      {SdoVariant::kRead, "<COBID><row DP=\"0\" PGN=\"1\"/></COBID>", "", "frames.xml: row 1 has no attribute ID_DEV"},
      {SdoVariant::kWrite, "<COBID><row PGN=\"1\" ID_DEV=\"1\"/></COBID>", "", "frames.xml: row 1 has no attribute DP"},
      {SdoVariant::kRead, "<COBID><row PGN=\"1\" ID_DEV=\"1\"/></COBID>", "<R><row NrPdo=\"1\" Index=\"1\"/></R>",
       "objects.xml: row 1 has no attribute SubIndex"},
      {SdoVariant::kWrite, "<COBID><row DP=\"0\" PGN=\"1\" ID_DEV=\"1\"/></COBID>", write_without_send.c_str(),
       "objects.xml: row 1 has no attribute Send_SDO"},
      {SdoVariant::kRead, "<COBID><row PGN=\"1\" ID_DEV=\"1\"/></COBID>", "<R>\n<row>", "objects.xml: line 2"},
      {SdoVariant::kRead, "<COBID><row PGN=\"1\"", "", "frames.xml: line 1"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_text(dir / "frames.xml", c.frames);
    if (*c.objects) write_text(dir / "objects.xml", c.objects);
    Result<SdoServerTable> table = SdoServerTable::open(c.variant, dir / "frames.xml", dir / "objects.xml");
    ASSERT_FALSE(table.ok()) << c.expected;
    EXPECT_NE(table.error().message.find(c.expected), std::string::npos) << table.error().message;
  }
  // The read table takes rows without DP and without Send_SDO.
  TempDir dir;
  write_text(dir / "frames.xml", "<COBID><row PGN=\"1\" ID_DEV=\"1\"/></COBID>");
  write_text(dir / "objects.xml", std::string("<R>") + read_row + "</R>");
  EXPECT_TRUE(SdoServerTable::open(SdoVariant::kRead, dir / "frames.xml", dir / "objects.xml").ok());
}

}  // namespace
}  // namespace brenvale
