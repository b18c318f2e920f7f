#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "eds/eds_writer.h"
#include "project/atomic_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

const std::filesystem::path kFixtures = std::filesystem::path(BRENVALE_FIXTURES) / "eds";

// 7 March 2024, 14:30: the stamp of every golden file.
const LocalTime kGoldenTime{2024, 3, 7, 14, 30};
Result<LocalTime> golden_clock() { return kGoldenTime; }

const char* template_name(EdsTemplate which) {
  return which == EdsTemplate::kWithPort ? "with-port" : "without-port";
}

// The lines of one section, from its name up to the next section name.
std::vector<std::string> section_lines(const std::string& text, const std::string& name) {
  std::vector<std::string> lines;
  const std::string head = "[" + name + "]\r\n";
  std::size_t pos = text.find(head);
  if (pos == std::string::npos) return lines;
  pos += head.size();
  while (pos < text.size() && text[pos] != '[') {
    const std::size_t end = text.find("\r\n", pos);
    lines.push_back(text.substr(pos, end - pos));
    pos = end + 2;
  }
  while (!lines.empty() && lines.back().empty()) lines.pop_back();
  return lines;
}

std::size_t occurrences(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1)) ++n;
  return n;
}

std::string generate(const std::string& fixture, EdsTemplate which) {
  TempDir out;
  const Status status = write_eds(which, ConfigFiles{kFixtures / fixture}, out / "out.eds", golden_clock);
  EXPECT_TRUE(status) << (status ? "" : status.error().message);
  return read_text(out / "out.eds");
}

TEST(EdsGolden, BothTemplatesMatchTheirGoldenFiles) {
  for (const char* fixture : {"empty", "several", "both_tables", "many_pdos"}) {
    for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
      const std::string name = std::string(fixture) + "." + template_name(which) + ".eds";
      EXPECT_EQ(generate(fixture, which), read_text(kFixtures / "golden" / name)) << name;
    }
  }
}

TEST(EdsText, EveryLineEndsWithCrLfAndTheTextIsAscii) {
  for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
    const std::string text = generate("several", which);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    for (std::size_t i = 0; i < text.size(); ++i) {
      ASSERT_LT(static_cast<unsigned char>(text[i]), 0x80u) << i;
      if (text[i] == '\n') {
        ASSERT_EQ(text[i - 1], '\r') << i;
      }
      if (text[i] == '\r') {
        ASSERT_EQ(text[i + 1], '\n') << i;
      }
    }
  }
}

TEST(EdsText, EmptyConfigurationCountsAndEnding) {
  const std::string without = generate("empty", EdsTemplate::kWithoutPort);
  EXPECT_EQ(section_lines(without, "DeviceInfo")[19], "NrOfRXPDO=0");
  EXPECT_EQ(section_lines(without, "DeviceInfo")[20], "NrOfTXPDO=0");
  EXPECT_EQ(section_lines(without, "OptionalObjects")[0], "SupportedObjects=7");
  EXPECT_EQ(section_lines(without, "ManufacturerObjects")[0], "SupportedObjects=9");
  for (const char* present : {"[2010]", "[2020]", "[2023sub8]", "[202A]", "[202Dsub8]"}) {
    EXPECT_NE(without.find(present), std::string::npos) << present;
  }
  // Two extra empty lines after the PDO part, one more after the last section.
  EXPECT_NE(without.find("PDOMapping=0\r\n\r\n\r\n\r\n[ManufacturerObjects]"), std::string::npos);
  EXPECT_EQ(without.substr(without.size() - 18), "PDOMapping=1\r\n\r\n\r\n");

  const std::string with = generate("empty", EdsTemplate::kWithPort);
  EXPECT_EQ(section_lines(with, "OptionalObjects")[0], "SupportedObjects=5");
  EXPECT_EQ(section_lines(with, "ManufacturerObjects"), std::vector<std::string>{"SupportedObjects=0"});
  const std::size_t last = with.find("[1280sub3]");
  EXPECT_EQ(with.substr(last), "[1280sub3]\r\nParameterName=Node ID of the SDO Server\r\nObjectType=0x07\r\n"
                               "DataType=0x0005\r\nAccessType=rw\r\nPDOMapping=0\r\n\r\n");
}

TEST(EdsText, TransmitCobIdAndMappingLengths) {
  const std::string without = generate("several", EdsTemplate::kWithoutPort);
  EXPECT_EQ(section_lines(without, "1800sub1")[3], "DefaultValue=0x00000181");
  EXPECT_EQ(section_lines(without, "1401sub1")[3], "DefaultValue=0x00000202");
  // The third transmit PDO has length 2: a count of 2 and two entries only.
  EXPECT_EQ(section_lines(without, "1A02")[0], "SubNumber=3");
  EXPECT_EQ(section_lines(without, "1A02sub0")[3], "DefaultValue=0x02");
  EXPECT_EQ(section_lines(without, "1A02sub2")[3], "DefaultValue=0x202C0208");
  EXPECT_TRUE(section_lines(without, "1A02sub3").empty());
  EXPECT_EQ(section_lines(without, "1601sub1")[3], "DefaultValue=0x20210108");

  const std::string with = generate("several", EdsTemplate::kWithPort);
  EXPECT_EQ(section_lines(with, "1800sub1")[4], "DefaultValue=0x40000181");
  EXPECT_EQ(section_lines(with, "1A02sub0")[4], "DefaultValue=0x02");
  EXPECT_EQ(section_lines(with, "6052")[0], "SubNumber=3");
  EXPECT_TRUE(section_lines(with, "6052sub3").empty());
}

TEST(EdsText, MorePdosThanTheWithoutPortDeviceDescribes) {
  const std::string without = generate("many_pdos", EdsTemplate::kWithoutPort);
  EXPECT_EQ(section_lines(without, "DeviceInfo")[19], "NrOfRXPDO=4");
  EXPECT_EQ(section_lines(without, "DeviceInfo")[20], "NrOfTXPDO=4");
  const std::vector<std::string> listed = section_lines(without, "OptionalObjects");
  EXPECT_EQ(listed[0], "SupportedObjects=23");
  EXPECT_EQ(listed.back(), "23=0x1A03");
  EXPECT_EQ(without.find("[1404]"), std::string::npos);
  EXPECT_EQ(without.find("[1804]"), std::string::npos);
  // Dimension 12 counts as 8.
  EXPECT_EQ(section_lines(without, "1A01")[0], "SubNumber=9");
  EXPECT_EQ(section_lines(without, "1A01sub0")[3], "DefaultValue=0x08");

  const std::string with = generate("many_pdos", EdsTemplate::kWithPort);
  // Ten transmit PDOs at most: the eleventh row is not read.
  EXPECT_EQ(section_lines(with, "DeviceInfo")[20], "NrOfRXPDO=6");
  EXPECT_EQ(section_lines(with, "DeviceInfo")[21], "NrOfTXPDO=10");
  EXPECT_EQ(section_lines(with, "OptionalObjects")[0], "SupportedObjects=53");
  EXPECT_NE(with.find("[1A09]"), std::string::npos);
  EXPECT_EQ(with.find("[1A0A]"), std::string::npos);
  // A COB-ID that is not an integer text counts as 0x201.
  EXPECT_EQ(section_lines(with, "1804sub1")[4], "DefaultValue=0x40000201");
  EXPECT_EQ(section_lines(with, "6059")[1], "ParameterName=TPDO10");
  EXPECT_EQ(section_lines(with, "6059sub1")[0], "ParameterName=u1");
  EXPECT_EQ(section_lines(with, "6009sub1"), std::vector<std::string>{});
  EXPECT_EQ(section_lines(with, "6004sub1")[0], "ParameterName=f1");
}

TEST(EdsText, WithPortOptionalObjectsPairEachPdosSections) {
  const std::vector<std::string> listed = section_lines(generate("several", EdsTemplate::kWithPort), "OptionalObjects");
  const std::vector<std::string> expected = {
      "SupportedObjects=20", "1=0x1005",  "2=0x1006",  "3=0x1008",  "4=0x1017",  "5=0x1280",  "6=0x1400",
      "7=0x1600",            "8=0x1401",  "9=0x1601",  "10=0x1800", "11=0x1A00", "12=0x1801", "13=0x1A01",
      "14=0x1802",           "15=0x1A02", "16=0x6000", "17=0x6001", "18=0x6050", "19=0x6051", "20=0x6052"};
  EXPECT_EQ(listed, expected);
}

TEST(EdsServerSdo, SortedWithGeneratedSub0InBothTemplates) {
  for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
    const std::string text = generate("several", which);
    SCOPED_TRACE(template_name(which));
    EXPECT_EQ(section_lines(text, "2000"),
              (std::vector<std::string>{"SubNumber=4", "ParameterName=App Vars", "ObjectType=0x9"}));
    EXPECT_EQ(section_lines(text, "2000sub0"),
              (std::vector<std::string>{"ParameterName=Largest Sub-Index supported", "ObjectType=0x7",
                                        "DataType=0x0005", "AccessType=ro", "DefaultValue=0x0C", "PDOMapping=0"}));
    EXPECT_EQ(section_lines(text, "2000sub1"),
              (std::vector<std::string>{"ParameterName=Application Variable", "ObjectType=0x7", "DataType=0x0006",
                                        "LowLimit=0x0000", "HighLimit=0xFFFF", "DefaultValue=0x0000",
                                        "AccessType=rw", "PDOMapping=0"}));
    EXPECT_LT(text.find("[2000sub1]"), text.find("[2000sub3]"));
    EXPECT_LT(text.find("[2000sub3]"), text.find("[2000subC]"));
    EXPECT_EQ(section_lines(text, "2000sub3")[2], "DataType=0x0005");
    EXPECT_EQ(section_lines(text, "2000sub3")[6], "AccessType=ro");
    // Sub-index 0 in the table: no generated sub0, and the count is the entries'.
    EXPECT_EQ(section_lines(text, "2001")[0], "SubNumber=2");
    EXPECT_EQ(section_lines(text, "2001sub0")[0], "ParameterName=Application Variable");
    EXPECT_EQ(section_lines(text, "3000sub0")[4], "DefaultValue=0x0A");
    EXPECT_NE(text.find("[3000subA]"), std::string::npos);
  }
  const std::vector<std::string> listed = section_lines(generate("several", EdsTemplate::kWithPort), "ManufacturerObjects");
  EXPECT_EQ(listed, (std::vector<std::string>{"SupportedObjects=3", "1=0x2000", "2=0x2001", "3=0x3000"}));
  const std::vector<std::string> without = section_lines(generate("several", EdsTemplate::kWithoutPort), "ManufacturerObjects");
  EXPECT_EQ(without[0], "SupportedObjects=12");
  EXPECT_EQ(without.back(), "12=0x3000");
}

TEST(EdsServerSdo, ReadSub3AndWriteSub1GiveOneRecordInSubIndexOrder) {
  EdsInputs inputs;
  inputs.sdo_objects = {SDO_Index{0x2000, {SDO_Sub_Type{3, kSize1Byte, true, ""}, SDO_Sub_Type{1, kSize2Bytes, false, ""}}}};
  const std::string expected =
      "[2000]\r\nSubNumber=3\r\nParameterName=App Vars\r\nObjectType=0x9\r\n\r\n"
      "[2000sub0]\r\nParameterName=Largest Sub-Index supported\r\nObjectType=0x7\r\nDataType=0x0005\r\n"
      "AccessType=ro\r\nDefaultValue=0x03\r\nPDOMapping=0\r\n\r\n"
      "[2000sub1]\r\nParameterName=Application Variable\r\nObjectType=0x7\r\nDataType=0x0006\r\n"
      "LowLimit=0x0000\r\nHighLimit=0xFFFF\r\nDefaultValue=0x0000\r\nAccessType=rw\r\nPDOMapping=0\r\n\r\n"
      "[2000sub3]\r\nParameterName=Application Variable\r\nObjectType=0x7\r\nDataType=0x0005\r\n"
      "LowLimit=0x00\r\nHighLimit=0xFF\r\nDefaultValue=0x00\r\nAccessType=ro\r\nPDOMapping=0\r\n\r\n"
      "\r\n";
  for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
    Result<std::string> text = eds_text(which, inputs, kGoldenTime);
    ASSERT_TRUE(text);
    const std::size_t start = text->find("[2000]");
    ASSERT_NE(start, std::string::npos);
    EXPECT_EQ(text->substr(start), expected) << template_name(which);
  }
}

TEST(EdsServerSdo, ObjectInBothTablesIsOneReadWriteSection) {
  for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
    const std::string text = generate("both_tables", which);
    SCOPED_TRACE(template_name(which));
    // 0x2000 sub 1 (read) and 8192 sub 01 (write) are one object.
    EXPECT_EQ(occurrences(text, "[2000sub1]"), 1u);
    EXPECT_EQ(section_lines(text, "2000sub1")[6], "AccessType=rw");
    EXPECT_EQ(section_lines(text, "2000")[0], "SubNumber=2");
    EXPECT_EQ(section_lines(text, "2100sub0")[6], "AccessType=ro");
    EXPECT_EQ(section_lines(text, "2200sub5")[6], "AccessType=rw");
  }
}

TEST(EdsServerSdo, ListMergesRepeatedSubIndicesAndKeepsFileOrder) {
  TempDir dir;
  write_text(dir / "RInfoCob.xml",
             "<RInfoCob><row NrPdo='1' Index='0x2001' SubIndex='4' Dimension='0'/>"
             "<row NrPdo='1' Index='0x2000' SubIndex='2' Dimension='1'/>"
             "<row NrPdo='1' Index='0x2001' SubIndex='1' Dimension='2'/></RInfoCob>");
  write_text(dir / "TInfoCob.xml",
             "<DefineSDOServerTraJ1939><row NrPdo='1' Index='0x3000' SubIndex='0' Dimension='0'/>"
             "<row NrPdo='1' Index='$2001' SubIndex='x4' Dimension='0'/></DefineSDOServerTraJ1939>");
  Result<std::vector<SDO_Index>> list = read_server_sdo_objects(dir / "RInfoCob.xml", dir / "TInfoCob.xml");
  ASSERT_TRUE(list) << list.error().message;
  ASSERT_EQ(list->size(), 3u);
  EXPECT_EQ((*list)[0].Index, 0x2001);
  EXPECT_EQ((*list)[1].Index, 0x2000);
  EXPECT_EQ((*list)[2].Index, 0x3000);
  const std::vector<SDO_Sub_Type>& subs = (*list)[0].Sub_Indexs;
  ASSERT_EQ(subs.size(), 2u);
  EXPECT_EQ(subs[0].Sub, 4);
  EXPECT_FALSE(subs[0].Readonly);
  EXPECT_EQ(subs[1].Sub, 1);
  EXPECT_EQ(subs[1].Quantity, kSize1Byte);
  EXPECT_TRUE(subs[1].Readonly);
}

TEST(EdsPdoSummary, IntegerTextsAndLimits) {
  struct Case {
    const char* cob_id;
    const char* dimension;
    std::uint16_t expected_cob_id;
    std::uint8_t expected_length;
  };
  const Case cases[] = {
      {"0x181", "8", 0x181, 8}, {"$7FF", "1", 0x7FF, 1},  {" 385", "3", 385, 3},  {"385 ", "3", 0x201, 3},
      {"", "", 0x201, 8},       {"abc", "x", 0x201, 8},   {"0x12345", "12", 0x2345, 8},
      {"-1", "-1", 0xFFFF, 8},  {"X10", "0", 0x10, 0},    {"0X10", "$7", 0x10, 7},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_text(dir / "TpdoJ1939.xml", std::string("<PDOJ1939><row COB-ID=\"") + c.cob_id + "\" Dimension=\"" +
                                          c.dimension + "\" Mnemonic=\"\"/></PDOJ1939>");
    Result<std::vector<PdoSummary>> list = read_pdo_summaries(dir / "TpdoJ1939.xml");
    ASSERT_TRUE(list) << list.error().message;
    ASSERT_EQ(list->size(), 1u);
    EXPECT_EQ((*list)[0].cob_id, c.expected_cob_id) << c.cob_id;
    EXPECT_EQ((*list)[0].length, c.expected_length) << c.dimension;
  }
}

TEST(EdsInputs, MissingFilesAreEmptyTables) {
  TempDir dir;
  Result<EdsInputs> inputs = read_eds_inputs(ConfigFiles{dir.path()});
  ASSERT_TRUE(inputs);
  EXPECT_TRUE(inputs->pdos.receive.empty());
  EXPECT_TRUE(inputs->pdos.transmit.empty());
  EXPECT_TRUE(inputs->sdo_objects.empty());
}

// Every refused input: a message that names the file (and row) and no data sheet written, an
// older one left as it was.
TEST(EdsErrors, StopTheGenerationAndWriteNothing) {
  struct Case {
    const char* file;
    const char* content;
    std::vector<std::string> message_parts;
  };
  const Case cases[] = {
      {"pdoJ1939.xml", "<Define_RPDO><row Dimension='8'/></Define_RPDO>", {"pdoJ1939.xml", "row 1", "COB-ID"}},
      {"TpdoJ1939.xml", "<PDOJ1939><row COB-ID='1' Dimension='8'/><row COB-ID='0x181'/></PDOJ1939>",
       {"TpdoJ1939.xml", "row 2", "Dimension"}},
      {"TpdoJ1939.xml", "<PDOJ1939><row COB-ID='1' Dimension='8'>", {"TpdoJ1939.xml", "line 1"}},
      {"RInfoCob.xml", "<RInfoCob><row Index='0x2000' Dimension='0'/></RInfoCob>", {"RInfoCob.xml", "row 1", "SubIndex"}},
      {"TInfoCob.xml", "<T><row Index='0x2000' SubIndex='1' Dimension='0'/><row Index='0x2000' SubIndex='2'/></T>",
       {"TInfoCob.xml", "row 2", "Dimension"}},
      {"TInfoCob.xml", "<T><row SubIndex='1' Dimension='0'/></T>", {"TInfoCob.xml", "row 1", "Index"}},
      {"RInfoCob.xml", "<R><row Index='0x2000 ' SubIndex='1' Dimension='0'/></R>",
       {"RInfoCob.xml", "row 1", "Index \"0x2000 \" is not an integer"}},
      {"RInfoCob.xml", "<R><row Index='0x2000' SubIndex='one' Dimension='0'/></R>",
       {"RInfoCob.xml", "SubIndex \"one\" is not an integer"}},
      {"TInfoCob.xml", "<T><row Index='0x2000' SubIndex='1' Dimension=''/></T>",
       {"TInfoCob.xml", "Dimension \"\" is not an integer"}},
      {"RInfoCob.xml", "<R><row Index='0x2000' SubIndex='1' Dimension='1'/><row Index='8192' SubIndex='1' Dimension='0'/></R>",
       {"0x2000 sub-index 1", "RInfoCob.xml row 1", "RInfoCob.xml row 2"}},
  };
  for (const Case& c : cases) {
    for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
      TempDir dir;
      write_text(dir / c.file, c.content);
      write_text(dir / "old.eds", "earlier sheet");
      const Status status = write_eds(which, ConfigFiles{dir.path()}, dir / "old.eds", golden_clock);
      ASSERT_FALSE(status) << c.content;
      for (const std::string& part : c.message_parts) {
        EXPECT_NE(status.error().message.find(part), std::string::npos) << status.error().message;
      }
      EXPECT_EQ(read_text(dir / "old.eds"), "earlier sheet");
      EXPECT_EQ(testing::entry_count(dir.path()), 2u);
    }
  }
}

TEST(EdsErrors, ConflictingSizesNameTheObjectAndWriteNothing) {
  TempDir out;
  for (EdsTemplate which : {EdsTemplate::kWithPort, EdsTemplate::kWithoutPort}) {
    const Status status = write_eds(which, ConfigFiles{kFixtures / "conflict"}, out / "conflict.eds", golden_clock);
    ASSERT_FALSE(status);
    EXPECT_EQ(status.error().message,
              "Server SDO object 0x2000 sub-index 1 has two sizes: 1 byte (size code 2) in RInfoCob.xml row 1 and "
              "2 bytes (size code 1) in TInfoCob.xml row 1; one object has one data type, so give both the same "
              "size or use another sub-index");
    EXPECT_EQ(testing::entry_count(out.path()), 0u);
  }
}

// The device without Ethernet port describes 0x2010, 0x2020...0x2023 and 0x202A...0x202D itself;
// a server SDO object there would give two sections of one name.
TEST(EdsErrors, ServerSdoIndexThatTheTemplateUsesItself) {
  struct Case {
    const char* index;
    EdsTemplate which;
    bool refused;
  };
  const Case cases[] = {
      {"0x2020", EdsTemplate::kWithoutPort, true}, {"0x202D", EdsTemplate::kWithoutPort, true},
      {"0x2010", EdsTemplate::kWithoutPort, true}, {"0x2024", EdsTemplate::kWithoutPort, false},
      {"0x2020", EdsTemplate::kWithPort, false},   {"0x1018", EdsTemplate::kWithPort, true},
      {"0x6000", EdsTemplate::kWithPort, true},    {"0x6001", EdsTemplate::kWithPort, false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    write_text(dir / "pdoJ1939.xml", "<Define_RPDO><row COB-ID='0x201' Dimension='8' Mnemonic=''/></Define_RPDO>");
    write_text(dir / "TInfoCob.xml", std::string("<T><row Index='") + c.index + "' SubIndex='1' Dimension='0'/></T>");
    const Status status = write_eds(c.which, ConfigFiles{dir.path()}, dir / "x.eds", golden_clock);
    EXPECT_EQ(!status, c.refused) << c.index << " " << template_name(c.which);
    if (!status) {
      EXPECT_NE(status.error().message.find(std::string("Server SDO object ") + c.index), std::string::npos)
          << status.error().message;
      EXPECT_FALSE(std::filesystem::exists(dir / "x.eds"));
    }
  }
}

TEST(EdsErrors, ClockAndWriteFailuresKeepTheOldFile) {
  TempDir dir;
  write_text(dir / "sheet.eds", "earlier sheet");
  const ConfigFiles files{kFixtures / "several"};
  const Status clock_failed =
      write_eds(EdsTemplate::kWithoutPort, files, dir / "sheet.eds", [] { return Result<LocalTime>(Error{"no clock"}); });
  ASSERT_FALSE(clock_failed);
  EXPECT_EQ(clock_failed.error().message, "no clock");

  set_write_fault_after(100);
  const Status write_failed = write_eds(EdsTemplate::kWithPort, files, dir / "sheet.eds", golden_clock);
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(write_failed);
  EXPECT_NE(write_failed.error().message.find("sheet.eds"), std::string::npos);
  EXPECT_EQ(read_text(dir / "sheet.eds"), "earlier sheet");
  EXPECT_EQ(testing::entry_count(dir.path()), 1u);
}

TEST(EdsTime, TwelveHourTexts) {
  struct Case {
    int hour, minute;
    const char* expected;
  };
  const Case cases[] = {{9, 5, "09:05AM"},  {14, 30, "02:30PM"}, {12, 0, "12:00AM"}, {12, 45, "00:45PM"},
                        {0, 10, "00:10AM"}, {12, 30, "00:30PM"}, {23, 59, "11:59PM"}, {0, 0, "00:00AM"},
                        {11, 59, "11:59AM"}, {13, 0, "01:00PM"}};
  for (const Case& c : cases) {
    EXPECT_EQ(eds_time_text(LocalTime{2024, 1, 1, c.hour, c.minute}), c.expected) << c.hour << ":" << c.minute;
  }
  EXPECT_EQ(eds_date_text(LocalTime{2024, 3, 7, 0, 0}), "03-07-2024");
  EXPECT_EQ(eds_date_text(LocalTime{1999, 12, 31, 0, 0}), "12-31-1999");
}

class EdsClockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"SOURCE_DATE_EPOCH", "TZ"}) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    const char* names[] = {"SOURCE_DATE_EPOCH", "TZ"};
    for (int i = 0; i < 2; ++i) {
      if (saved_[i]) ::setenv(names[i], saved_[i]->c_str(), 1);
      else ::unsetenv(names[i]);
    }
    ::tzset();
  }
  static void set(const char* epoch, const char* tz) {
    ::setenv("SOURCE_DATE_EPOCH", epoch, 1);
    ::setenv("TZ", tz, 1);
    ::tzset();
  }

 private:
  std::vector<std::optional<std::string>> saved_;
};

TEST_F(EdsClockTest, SourceDateEpochIsTheLocalTimeOfThatInstant) {
  set("1709821800", "UTC0");  // 2024-03-07 14:30:00 UTC
  Result<LocalTime> utc = local_time_now();
  ASSERT_TRUE(utc);
  EXPECT_EQ(eds_date_text(*utc) + " " + eds_time_text(*utc), "03-07-2024 02:30PM");

  set("1709821800", "XYZ-10");  // ten hours east: already the next day
  Result<LocalTime> east = local_time_now();
  ASSERT_TRUE(east);
  EXPECT_EQ(eds_date_text(*east) + " " + eds_time_text(*east), "03-08-2024 00:30AM");
}

TEST_F(EdsClockTest, MalformedSourceDateEpochIsAnError) {
  for (const char* bad : {"abc", "12x", "-5", " 17", "99999999999999999999"}) {
    set(bad, "UTC0");
    Result<LocalTime> now = local_time_now();
    ASSERT_FALSE(now) << bad;
    EXPECT_NE(now.error().message.find("SOURCE_DATE_EPOCH"), std::string::npos);
  }
}

// An empty SOURCE_DATE_EPOCH counts as unset, as for the compile stamp: the stamp is now.
TEST_F(EdsClockTest, EmptySourceDateEpochMeansNow) {
  set("", "UTC0");
  const std::time_t before = std::time(nullptr);
  Result<LocalTime> now = local_time_now();
  ASSERT_TRUE(now);
  Result<LocalTime> then = local_time_of(before);
  ASSERT_TRUE(then);
  EXPECT_GE(now->year, then->year);
}

// The date line has room for a four-digit year only; a later instant is refused, not written
// as a garbled date.
TEST_F(EdsClockTest, InstantsPastTheLastFourDigitYearAreRefused) {
  struct Case {
    const char* epoch;
    const char* stamp;  // nullptr: refused
  };
  const Case cases[] = {{"0", "01-01-1970 00:00AM"},
                        {"253402300799", "12-31-9999 11:59PM"},
                        {"253402300800", nullptr},
                        {"67767976233316800", nullptr},
                        {"99999999999999999", nullptr},
                        {"9223372036854775807", nullptr}};
  for (const Case& c : cases) {
    set(c.epoch, "UTC0");
    Result<LocalTime> now = local_time_now();
    if (c.stamp == nullptr) {
      ASSERT_FALSE(now) << c.epoch << " gave " << eds_date_text(*now);
      EXPECT_NE(now.error().message.find("four-digit year"), std::string::npos) << now.error().message;
    } else {
      ASSERT_TRUE(now) << c.epoch << ": " << now.error().message;
      EXPECT_EQ(eds_date_text(*now) + " " + eds_time_text(*now), c.stamp) << c.epoch;
    }
  }
}

TEST(EdsStep, TemplateFollowsTheEthernetPortTest) {
  struct Case {
    std::optional<std::string> par_gen;
    EdsTemplate expected;
  };
  const Case cases[] = {
      {std::nullopt, EdsTemplate::kWithPort},
      {"<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device></Par_Gen>", EdsTemplate::kWithPort},
      {"<Par_Gen><Select_Device>device with ethernet port</Select_Device></Par_Gen>", EdsTemplate::kWithPort},
      {"<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device></Par_Gen>", EdsTemplate::kWithoutPort},
      {"<Par_Gen><Select_Device>Other</Select_Device></Par_Gen>", EdsTemplate::kWithoutPort},
      {"<Par_Gen><CANType>1</CANType></Par_Gen>", EdsTemplate::kWithoutPort},
      {"<Par_Gen><Select_Device>", EdsTemplate::kWithoutPort},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.par_gen) write_text(dir / "ParGen.xml", *c.par_gen);
    EXPECT_EQ(eds_template_for(ConfigFiles{dir.path()}), c.expected) << c.par_gen.value_or("(no file)");
  }
}

TEST(EdsStep, NameWithoutExtensionGetsEds) {
  const std::pair<const char*, const char*> cases[] = {
      {"/p/sheet", "/p/sheet.eds"},          {"/p/sheet.eds", "/p/sheet.eds"}, {"/p/sheet.EDS", "/p/sheet.EDS"},
      {"/p/sheet.txt", "/p/sheet.txt"},      {"/p.d/sheet", "/p.d/sheet.eds"}, {"sheet", "sheet.eds"},
      {"/p/my sheet v2", "/p/my sheet v2.eds"},
  };
  for (const auto& [typed, expected] : cases) EXPECT_EQ(with_eds_extension(typed).string(), expected) << typed;
}

TEST(EdsStep, WritesTheVariantsTemplateUnderTheCompletedName) {
  TempDir dir;
  ASSERT_TRUE(write_eds_for_configuration(ConfigFiles{kFixtures / "empty"}, dir / "converter", golden_clock));
  EXPECT_EQ(read_text(dir / "converter.eds"), read_text(kFixtures / "golden" / "empty.without-port.eds"));
  ASSERT_TRUE(write_eds_for_configuration(ConfigFiles{kFixtures / "several"}, dir / "converter.eds", golden_clock));
  EXPECT_EQ(read_text(dir / "converter.eds"), read_text(kFixtures / "golden" / "several.with-port.eds"));
  EXPECT_EQ(testing::entry_count(dir.path()), 1u);
}

}  // namespace
}  // namespace brenvale
