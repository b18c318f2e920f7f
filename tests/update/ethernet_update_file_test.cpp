#include <gtest/gtest.h>

#include "project/atomic_file.h"
#include "project/xml_table.h"
#include "support/temp_dir.h"
#include "update/ethernet_update_file.h"

namespace brenvale {
namespace {

using testing::read_text;
using testing::TempDir;
using testing::write_text;

std::string operation(const std::string& file, bool firmware, const char* read_back, const char* app_after) {
  return std::string("<Operation><Ope_Protection_Enabled/><Ope_GoToBoot_Before>0</Ope_GoToBoot_Before>") +
         "<Ope_GoToApp_Before>0</Ope_GoToApp_Before><Ope_IP_Address/><Ope_Port>2008</Ope_Port>" +
         "<Ope_Port_Sec>2007</Ope_Port_Sec><Ope_Erase_Memory>0</Ope_Erase_Memory>" +
         "<Ope_FileName>" + file + "</Ope_FileName>" +
         "<Ope_Start_Address>" + (firmware ? "0x8000" : "0x58C00") + "</Ope_Start_Address>" +
         "<Ope_Memory_Type>0</Ope_Memory_Type>" +
         "<Ope_Bank_Type>" + (firmware ? "1" : "2") + "</Ope_Bank_Type>" +
         "<Ope_Read_Back>" + read_back + "</Ope_Read_Back>" +
         "<Ope_Write_CSS>" + (firmware ? "1" : "0") + "</Ope_Write_CSS>" +
         "<Ope_Address_CSS>" + (firmware ? "0x78100" : "0x50100") + "</Ope_Address_CSS>" +
         "<Ope_Command_CSS>0x0B</Ope_Command_CSS>" +
         "<Ope_GoToApp_After>" + app_after + "</Ope_GoToApp_After></Operation>";
}

TEST(EthernetUpdateFile, EveryOptionWithAndWithoutReadBack) {
  const std::string head =
      "<Ethernet_Update><Version>1000</Version><Title>Corvane - Talvik Ethernet Update</Title>"
      "<IP_Address_Dev>192.168.2.205</IP_Address_Dev><Application_Port>10000</Application_Port>"
      "<Boot_Port>2008</Boot_Port><Boot_Port_Sec>2007</Boot_Port_Sec>"
      "<Address_Protection>0x78000</Address_Protection><Protections><Protection>0x584</Protection></Protections>"
      "<Operations>";
  const std::string tail = "</Operations></Ethernet_Update>";
  const std::string sim = "/opt/Brenvale/MASTER/SimTalvikK.sim";
  const std::string bank = "/opt/Brenvale/PROJECTS/Line 4/bin/bank.bin";

  struct Case {
    UpdateOption option;
    bool read_back;
    std::string operations;
  };
  const Case cases[] = {
      {UpdateOption::kFirmwareAndConfiguration, true, operation(sim, true, "1", "0") + operation(bank, false, "1", "1")},
      {UpdateOption::kFirmwareAndConfiguration, false, operation(sim, true, "0", "0") + operation(bank, false, "0", "1")},
      {UpdateOption::kFirmware, true, operation(sim, true, "1", "1")},
      {UpdateOption::kFirmware, false, operation(sim, true, "0", "1")},
      {UpdateOption::kConfiguration, true, operation(bank, false, "1", "1")},
      {UpdateOption::kConfiguration, false, operation(bank, false, "0", "1")},
  };
  for (const Case& c : cases) {
    EthernetUpdateRequest request;
    request.ip_address = join_ip_address({"192", "168", "2", "205"});
    request.option = c.option;
    request.read_back = c.read_back;
    request.master_folder = "/opt/Brenvale/MASTER";
    request.configuration_folder = "/opt/Brenvale/PROJECTS/Line 4";
    EXPECT_EQ(ethernet_update_text(request), head + c.operations + tail)
        << static_cast<int>(c.option) << " read back " << c.read_back;
  }
}

TEST(EthernetUpdateFile, AddressIsWrittenAsTypedAndEscaped) {
  EthernetUpdateRequest request;
  request.ip_address = join_ip_address({" 10", "0", "<0>", "1"});
  request.option = UpdateOption::kConfiguration;
  request.configuration_folder = "/p/a&b";
  Result<XmlDocument> doc = parse_xml_text(ethernet_update_text(request), "Ethernet_Update.xml");
  ASSERT_TRUE(doc) << doc.error().message;
  EXPECT_EQ(child_text(doc->root(), "IP_Address_Dev"), " 10.0.<0>.1");
  EXPECT_EQ(child_text(doc->root().child("Operations").child("Operation"), "Ope_FileName"), "/p/a&b/bin/bank.bin");
}

TEST(EthernetUpdateFile, ReplacesTheFileAndKeepsItWhenTheWriteFails) {
  TempDir dir;
  EthernetUpdateRequest request;
  request.ip_address = "127.0.0.1";
  ASSERT_TRUE(write_ethernet_update_file(dir / "Ethernet_Update.xml", request));
  EXPECT_EQ(read_text(dir / "Ethernet_Update.xml"), ethernet_update_text(request));

  const std::string before = read_text(dir / "Ethernet_Update.xml");
  request.ip_address = "127.0.0.2";
  set_write_fault_after(100);
  const Status status = write_ethernet_update_file(dir / "Ethernet_Update.xml", request);
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(status);
  EXPECT_NE(status.error().message.find("Ethernet_Update.xml"), std::string::npos);
  EXPECT_EQ(read_text(dir / "Ethernet_Update.xml"), before);
  EXPECT_EQ(testing::entry_count(dir.path()), 1u);
}

}  // namespace
}  // namespace brenvale
