#include <gtest/gtest.h>

#include "app/update_path.h"
#include "settings/ethernet_port.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

using testing::TempDir;
using testing::write_text;

// The editors' Ethernet-port test and the stricter update-path test side by side.
TEST(HardwareVariant, EthernetPortTestAndUpdatePath) {
  struct Case {
    const char* file;  // nullptr: no ParGen.xml
    EthernetPort port;
    bool ethernet_update;
  };
  const Case cases[] = {
      {nullptr, EthernetPort::kWithPort, false},
      {"<Par_Gen><Select_Device>Device With Ethernet Port</Select_Device></Par_Gen>", EthernetPort::kWithPort, true},
      {"<Par_Gen><Select_Device>device with ethernet port</Select_Device></Par_Gen>", EthernetPort::kWithPort, false},
      {"<Par_Gen><Select_Device>Device Without Ethernet Port</Select_Device></Par_Gen>", EthernetPort::kWithoutPort, false},
      {"<Par_Gen><Select_Device>Device With Ethernet Port </Select_Device></Par_Gen>", EthernetPort::kNeither, false},
      {"<Par_Gen><BaudRateCAN>5</BaudRateCAN></Par_Gen>", EthernetPort::kWithoutPort, false},
      {"<Par_Gen><Select_Device>Device With", EthernetPort::kWithoutPort, false},
  };
  for (const Case& c : cases) {
    TempDir dir;
    if (c.file) write_text(dir / "ParGen.xml", c.file);
    EXPECT_EQ(ethernet_port_test(dir / "ParGen.xml"), c.port) << (c.file ? c.file : "no file");
    EXPECT_EQ(takes_ethernet_update(dir / "ParGen.xml"), c.ethernet_update) << (c.file ? c.file : "no file");
  }
}

TEST(HardwareVariant, WindowsRefuseABrokenSettingsFile) {
  TempDir dir;
  write_text(dir / "ParGen.xml", "<Par_Gen><Select_Device>");
  const Result<EthernetPort> result = read_ethernet_port(dir / "ParGen.xml");
  ASSERT_FALSE(result.ok());
  EXPECT_NE(result.error().message.find("ParGen.xml"), std::string::npos);
}

}  // namespace
}  // namespace brenvale
