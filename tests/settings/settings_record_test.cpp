#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/atomic_file.h"
#include "settings/ethernet_port.h"
#include "settings/settings_record.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::entry_count;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

// What the window writes for a configuration that had no ParGen.xml.
const std::string kDefaultFile =
    "<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device><BaudRateCAN>5</BaudRateCAN>"
    "<CANType>1</CANType><TimeOut_Data>10</TimeOut_Data><Peer_to_Peer>0</Peer_to_Peer>"
    "<IDDev_J1939>1</IDDev_J1939><Enable_Filter_FECA>0</Enable_Filter_FECA>"
    "<Filter_FECA_Time>50</Filter_FECA_Time><IDDev_CANopen>1</IDDev_CANopen>"
    "<Baud_CANopen>5</Baud_CANopen><Set_Ope_CANopen>0</Set_Ope_CANopen>"
    "<Net_Start_CANopen>0</Net_Start_CANopen><Delay_CANopen>0</Delay_CANopen><Sent_TPDO>1</Sent_TPDO>"
    "<Sent_TPDO_Time>1000</Sent_TPDO_Time><NodeGuard>0</NodeGuard><Send_NG_J1939>0</Send_NG_J1939>"
    "<BG_Send_Every>1000</BG_Send_Every><EN_SDO_Client>0</EN_SDO_Client>"
    "<TO_SDO_Client>10000</TO_SDO_Client><Ethernet_IP1>192</Ethernet_IP1><Ethernet_IP2>168</Ethernet_IP2>"
    "<Ethernet_IP3>0</Ethernet_IP3><Ethernet_IP4>5</Ethernet_IP4><Ethernet_SM1>255</Ethernet_SM1>"
    "<Ethernet_SM2>255</Ethernet_SM2><Ethernet_SM3>255</Ethernet_SM3><Ethernet_SM4>0</Ethernet_SM4>"
    "<Ethernet_GAT1>192</Ethernet_GAT1><Ethernet_GAT2>168</Ethernet_GAT2><Ethernet_GAT3>0</Ethernet_GAT3>"
    "<Ethernet_GAT4>1</Ethernet_GAT4><Ethernet_EN_GAT>0</Ethernet_EN_GAT></Par_Gen>"
    "<!--SW_VERSION = 2.001-->";

SettingsRecord load_text(const std::string& text) {
  TempDir dir;
  write_text(dir / "ParGen.xml", text);
  Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
  EXPECT_TRUE(record.ok()) << record.error().message;
  return record.ok() ? *record : SettingsRecord{};
}

// `file` with one element's text replaced, or the element removed (nullopt); an empty text is
// written the way the writer writes it.
std::string with_element(std::string file, const std::string& element, const std::optional<std::string>& text) {
  const std::string open = "<" + element + ">";
  const std::string close = "</" + element + ">";
  const std::size_t begin = file.find(open);
  const std::size_t end = file.find(close) + close.size();
  std::string replacement;
  if (text) replacement = text->empty() ? "<" + element + "/>" : open + *text + close;
  file.replace(begin, end - begin, replacement);
  return file;
}

std::string default_file_with(const std::string& element, const std::optional<std::string>& text) {
  return with_element(kDefaultFile, element, text);
}

TEST(SettingsFile, NoFileGivesTheWindowDefaultsWithEthernetPort) {
  TempDir dir;
  Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
  ASSERT_TRUE(record.ok());
  EXPECT_EQ(record->variant(), HardwareVariant::kWithPort);
  EXPECT_EQ(settings_file_text(*record), kDefaultFile);
  EXPECT_EQ(ethernet_port_test(dir / "ParGen.xml"), EthernetPort::kWithPort);
  EXPECT_EQ(entry_count(dir.path()), 0u);
}

TEST(SettingsFile, SaveThenLoadReproducesTheBytes) {
  TempDir dir;
  SettingsRecord record;
  record.set_variant(HardwareVariant::kWithoutPort);
  record.set_index(Setting::kBaudRateCan, 8);
  record.set_index(Setting::kBaudCanopen, 9);
  record.set_flag(Setting::kSentTpdo, false);
  record.set_flag(Setting::kEthernetEnGat, true);
  record.set_number(Setting::kTimeOutData, " 12 ");
  record.set_number(Setting::kSentTpdoTime, "$1F4");
  record.set_number(Setting::kEthernetIp1, "300");
  record.set_number(Setting::kEthernetIp2, "");
  record.set_number(Setting::kEthernetGat1, "a<b & \"c\"");
  ASSERT_TRUE(save_settings(dir / "ParGen.xml", record).ok());
  const std::string written = read_text(dir / "ParGen.xml");

  Result<SettingsRecord> loaded = load_settings(dir / "ParGen.xml");
  ASSERT_TRUE(loaded.ok()) << loaded.error().message;
  EXPECT_EQ(*loaded, record);
  ASSERT_TRUE(save_settings(dir / "ParGen.xml", *loaded).ok());
  EXPECT_EQ(read_text(dir / "ParGen.xml"), written);
  EXPECT_NE(written.find("<Ethernet_IP2/>"), std::string::npos) << written;
}

TEST(SettingsFile, WriterOutputIsAFixedPointOfLoadAndSave) {
  const std::vector<std::string> files = {
      kDefaultFile,
      default_file_with("Select_Device", "Device Without Ethernet Port"),
      default_file_with("BaudRateCAN", "-1"),
      default_file_with("Baud_CANopen", "9"),
      default_file_with("TimeOut_Data", ""),
      with_element(default_file_with("Sent_TPDO", "0"), "Sent_TPDO_Time", "0x10"),
  };
  for (const std::string& file : files) {
    TempDir dir;
    write_text(dir / "ParGen.xml", file);
    Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
    ASSERT_TRUE(record.ok());
    ASSERT_TRUE(save_settings(dir / "ParGen.xml", *record).ok());
    EXPECT_EQ(read_text(dir / "ParGen.xml"), file);
  }
}

TEST(SettingsFile, HardwareVariantOfTheWindowAndOfTheOtherReaders) {
  struct Case {
    std::optional<std::string> text;  // nullopt: element missing
    HardwareVariant window;
    EthernetPort others;
  };
  const std::vector<Case> cases = {
      {std::nullopt, HardwareVariant::kWithoutPort, EthernetPort::kWithoutPort},
      {"Device With Ethernet Port", HardwareVariant::kWithPort, EthernetPort::kWithPort},
      {"device with ethernet port", HardwareVariant::kWithPort, EthernetPort::kWithPort},
      {"DEVICE WITHOUT ETHERNET PORT", HardwareVariant::kWithoutPort, EthernetPort::kWithoutPort},
      {"Device With Ethernet Port ", HardwareVariant::kWithoutPort, EthernetPort::kNeither},
      {"", HardwareVariant::kWithoutPort, EthernetPort::kNeither},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string file = default_file_with("Select_Device", c.text);
    write_text(dir / "ParGen.xml", file);
    Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
    ASSERT_TRUE(record.ok());
    EXPECT_EQ(record->variant(), c.window) << c.text.value_or("(missing)");
    EXPECT_EQ(ethernet_port_test(dir / "ParGen.xml"), c.others) << c.text.value_or("(missing)");
    // Saving writes the variant's own text, whatever letter case the file had.
    EXPECT_EQ(record->stored_text(Setting::kSelectDevice), variant_text(c.window));
  }
}

TEST(SettingsFile, MissingVariantKeepsTheOtherStoredValues) {
  const SettingsRecord record =
      load_text(with_element(default_file_with("Select_Device", std::nullopt), "TimeOut_Data", "77"));
  EXPECT_EQ(record.variant(), HardwareVariant::kWithoutPort);
  EXPECT_EQ(record.number(Setting::kTimeOutData), "77");
  EXPECT_EQ(record.number(Setting::kEthernetIp4), "5");
}

TEST(SettingsFile, FlagIsOnOnlyForTheTextOne) {
  struct Case {
    const char* element;
    std::optional<std::string> text;
    bool on;
  };
  const std::vector<Case> cases = {
      {"Peer_to_Peer", "1", true},         {"Peer_to_Peer", "true", false},   {"Peer_to_Peer", " 1", false},
      {"Peer_to_Peer", "01", false},       {"Peer_to_Peer", "", false},       {"Peer_to_Peer", std::nullopt, false},
      {"Ethernet_EN_GAT", "1", true},      {"NodeGuard", "Y", false},
      // The TPDO send method: "1" On Data Change, other texts On Timer, missing On Data Change.
      {"Sent_TPDO", "1", true},            {"Sent_TPDO", "0", false},         {"Sent_TPDO", "abc", false},
      {"Sent_TPDO", std::nullopt, true},
  };
  for (const Case& c : cases) {
    const SettingsRecord record = load_text(default_file_with(c.element, c.text));
    Setting setting = Setting::kCount;
    for (const SettingDescriptor& d : kSettingDescriptors) {
      if (std::string(d.element) == c.element) setting = d.setting;
    }
    ASSERT_NE(setting, Setting::kCount);
    EXPECT_EQ(record.flag(setting), c.on) << c.element << " = " << c.text.value_or("(missing)");
    EXPECT_EQ(record.stored_text(setting), c.on ? "1" : "0");
  }
}

TEST(SettingsFile, IndexIsAListPositionOrNothing) {
  struct Case {
    const char* element;
    std::optional<std::string> text;
    int index;
    const char* saved;
  };
  const std::vector<Case> cases = {
      {"BaudRateCAN", "0", 0, "0"},        {"BaudRateCAN", "8", 8, "8"},       {"BaudRateCAN", "abc", 5, "5"},
      {"BaudRateCAN", "", 5, "5"},         {"BaudRateCAN", std::nullopt, 5, "5"},
      {"BaudRateCAN", "12", -1, "-1"},     {"BaudRateCAN", "9", -1, "-1"},    {"BaudRateCAN", "-1", -1, "-1"},
      {"BaudRateCAN", "$3", 3, "3"},       {"BaudRateCAN", "6 ", 5, "5"},
      {"Baud_CANopen", "9", 9, "9"},       {"Baud_CANopen", "10", -1, "-1"},  {"Baud_CANopen", "x", 5, "5"},
      {"Baud_CANopen", std::nullopt, 5, "5"},
  };
  for (const Case& c : cases) {
    const SettingsRecord record = load_text(default_file_with(c.element, c.text));
    const Setting setting = std::string(c.element) == "BaudRateCAN" ? Setting::kBaudRateCan : Setting::kBaudCanopen;
    EXPECT_EQ(record.index(setting), c.index) << c.element << " = " << c.text.value_or("(missing)");
    EXPECT_EQ(record.stored_text(setting), c.saved) << c.element << " = " << c.text.value_or("(missing)");
  }
}

TEST(SettingsFile, NumbersAreHeldAsStoredAndMissingOnesTakeTheirDefault) {
  const SettingsRecord record = load_text(
      "<Par_Gen><TimeOut_Data> 12 </TimeOut_Data><IDDev_CANopen>abc</IDDev_CANopen><Delay_CANopen/>"
      "<Ethernet_IP1>300</Ethernet_IP1><CANType>2</CANType></Par_Gen>");
  EXPECT_EQ(record.number(Setting::kTimeOutData), " 12 ");
  EXPECT_EQ(record.number(Setting::kIdDevCanopen), "abc");
  EXPECT_EQ(record.number(Setting::kDelayCanopen), "");
  EXPECT_EQ(record.number(Setting::kEthernetIp1), "300");
  EXPECT_EQ(record.number(Setting::kEthernetIp2), "168");
  EXPECT_EQ(record.number(Setting::kFilterFecaTime), "50");
  // The identifier type is not read back; it is always written as CAN 2.0B.
  EXPECT_EQ(record.stored_text(Setting::kCanType), "1");
}

TEST(SettingsFile, ExtraElementsAreDroppedAndTheFirstOfTwinsCounts) {
  TempDir dir;
  write_text(dir / "ParGen.xml",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Par_Gen>\n  <Vendor>x</Vendor>\n"
             "  <TimeOut_Data>20</TimeOut_Data>\n  <TimeOut_Data>30</TimeOut_Data>\n</Par_Gen>\n"
             "<!--SW_VERSION = 2.001-->\n");
  Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
  ASSERT_TRUE(record.ok());
  EXPECT_EQ(record->number(Setting::kTimeOutData), "20");
  ASSERT_TRUE(save_settings(dir / "ParGen.xml", *record).ok());
  const std::string written = read_text(dir / "ParGen.xml");
  EXPECT_EQ(written.find("Vendor"), std::string::npos);
  EXPECT_EQ(written.find("<?xml"), std::string::npos);
  EXPECT_EQ(written, with_element(default_file_with("Select_Device", "Device Without Ethernet Port"),
                                  "TimeOut_Data", "20"));
}

TEST(SettingsFile, RootIsTheFirstNodeWhateverItsName) {
  const SettingsRecord record = load_text("<Other><Select_Device>Device With Ethernet Port</Select_Device>"
                                          "<Ethernet_IP4>9</Ethernet_IP4></Other><Par_Gen/>");
  EXPECT_TRUE(record.with_port());
  EXPECT_EQ(record.number(Setting::kEthernetIp4), "9");
}

TEST(SettingsFile, FileThatIsNotWellFormedIsAnErrorNamingTheSpot) {
  TempDir dir;
  const std::string text = "<Par_Gen>\n<TimeOut_Data>10</TimeOut_Data>\n<Peer_to_Peer>0</Peer>\n</Par_Gen>";
  write_text(dir / "ParGen.xml", text);
  Result<SettingsRecord> record = load_settings(dir / "ParGen.xml");
  ASSERT_FALSE(record.ok());
  const std::string& message = record.error().message;
  EXPECT_NE(message.find("ParGen.xml"), std::string::npos) << message;
  EXPECT_NE(message.find("line 3"), std::string::npos) << message;
  EXPECT_NE(message.find("column"), std::string::npos) << message;
  EXPECT_EQ(read_text(dir / "ParGen.xml"), text);
  // The table windows refuse to open on it too.
  EXPECT_FALSE(read_ethernet_port(dir / "ParGen.xml").ok());
}

TEST(SettingsFile, FolderThatCannotBeSearchedIsNotAMissingFile) {
  TempDir dir;
  std::filesystem::create_directory_symlink(dir / "loop", dir / "loop");
  const std::filesystem::path file = dir / "loop" / "ParGen.xml";
  Result<SettingsRecord> record = load_settings(file);
  ASSERT_FALSE(record.ok());
  EXPECT_NE(record.error().message.find("ParGen.xml"), std::string::npos) << record.error().message;
  EXPECT_FALSE(read_ethernet_port(file).ok());
  EXPECT_EQ(ethernet_port_test(file), EthernetPort::kWithoutPort);
}

TEST(SettingsFile, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  write_text(dir / "ParGen.xml", "<Par_Gen/>");
  SettingsRecord record;
  set_write_fault_after(20);
  const Status status = save_settings(dir / "ParGen.xml", record);
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("ParGen.xml"), std::string::npos) << status.error().message;
  EXPECT_EQ(read_text(dir / "ParGen.xml"), "<Par_Gen/>");
  EXPECT_EQ(entry_count(dir.path()), 1u);
}

}  // namespace
}  // namespace brenvale
