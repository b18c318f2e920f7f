#include <gtest/gtest.h>

#include "compiler/compile_passes.h"
#include "compiler/compiler.h"
#include "compiler/layout.h"
#include "project_files.h"

namespace brenvale {
namespace {

using testing::all_bytes;
using testing::compile_ok;
using testing::bytes;
using testing::files_of;
using testing::frame_row;
using testing::node;
using testing::par_gen_xml;
using testing::Project;
using testing::receive_frame;
using testing::sdo_object;
using testing::set;
using testing::settings_block;
using testing::stamp;
using testing::table_xml;
using testing::transmit_frame;
using testing::with;
using Bytes = std::vector<std::uint8_t>;

// The image pass alone, for settings files that the strict bank pass would refuse.
std::vector<std::uint8_t> image_of(const Project& project) {
  std::vector<std::uint8_t> image(layout::kImageSize, 0xAA);
  ProjectDocuments documents(files_of(project));
  const Result<FormFill> fill = run_image_pass(image, documents);
  EXPECT_TRUE(fill.ok());
  return image;
}

TEST(ImagePass, EmptyConfigurationSettingsBlock) {
  Project project;
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan image = compiler.image();
  ASSERT_EQ(image.size(), 65280u);
  EXPECT_TRUE(all_bytes(image, 0, 0xF400, 0));
  EXPECT_TRUE(all_bytes(image, 0xFC00, 65280 - 0xFC00, 0));
  const ConstByteSpan s = settings_block(compiler);
  const Bytes head{0x90, 0xD0, 0x03, 0, 0x90, 0xD0, 0x03, 0, 0, 0, 0, 0, 0x80, 0x25, 0, 0};
  EXPECT_EQ(bytes(s, 0, 16), head);
  EXPECT_EQ(bytes(s, 0x28, 18), (Bytes{192, 168, 2, 205, 255, 255, 255, 0, 255, 255, 255, 255, 0x10, 0x27, 0x11, 0x27, 0x11, 0x27}));
  EXPECT_TRUE(all_bytes(s, 0x3A, 0x118 - 0x3A, 0));  // counts, options, node ID 0
  const std::uint32_t addresses[] = {0x5A800, 0x60800, 0x68800, 0x68900, 0x68A80, 0x68980, 0x68A00};
  for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(get_u32le(s, 0x118 + 4 * i), addresses[i]) << i;
  for (std::uint32_t k = 0; k < 5; ++k) {
    EXPECT_EQ(get_u32le(s, 0x194 + 4 * k), 0x101u * (k + 1));
    EXPECT_EQ(get_u32le(s, 0x1A8 + 4 * k), 0x101u * (k + 1));
  }
  EXPECT_EQ(get_u32le(s, 0x1BC), 0x58C00u);
  EXPECT_EQ(get_u32le(s, 0x1C0), 0x59C00u);
  EXPECT_TRUE(all_bytes(s, 0x1C4, 0x7FC - 0x1C4, 0));
  EXPECT_EQ(get_u32le(s, 0x7FC), 4919u);
}

TEST(ImagePass, SettingsWithTheirOwnDefaults) {
  struct Case {
    std::vector<std::pair<std::string, std::string>> changes;
    std::size_t offset;
    std::uint32_t value;
  };
  const Case cases[] = {
      {{}, 0x000, 250000},
      {{{"BaudRateCAN", "0"}}, 0x000, 10000},
      {{{"BaudRateCAN", "8"}}, 0x000, 1000000},
      {{{"BaudRateCAN", "9"}}, 0x000, 250000},
      {{{"BaudRateCAN", "abc"}}, 0x000, 250000},
      {{{"Baud_CANopen", "7"}}, 0x004, 800000},
      {{{"Baud_CANopen", "9"}}, 0x004, 250000},
      {{{"Baud_CANopen", "<missing>"}}, 0x004, 1000000},
      {{{"Baud_CANopen", "-1"}}, 0x004, 250000},
      {{}, 0x184, 10000},
      {{{"TimeOut_Data", "x"}}, 0x184, 0},
      {{{"IDDev_J1939", "0x10"}}, 0x18C, 16},
      {{{"IDDev_J1939", "<missing>"}}, 0x18C, 0},
      {{{"Filter_FECA_Time", "<missing>"}}, 0x190, 50},
      {{{"Filter_FECA_Time", "1500"}}, 0x190, 1500},
      {{{"Peer_to_Peer", "1"}, {"Enable_Filter_FECA", "1"}}, 0x098, 3},
      {{{"Peer_to_Peer", "true"}, {"Enable_Filter_FECA", "1"}}, 0x098, 2},
      {{{"IDDev_CANopen", "<missing>"}}, 0x09C, 5},
      {{{"IDDev_CANopen", "$7F"}}, 0x09C, 127},
      {{{"Set_Ope_CANopen", "1"}, {"Net_Start_CANopen", "1"}, {"EN_SDO_Client", "1"}, {"NodeGuard", "1"}, {"Send_NG_J1939", "1"}}, 0x0A0, 0x1F},
      {{{"Net_Start_CANopen", "1"}, {"NodeGuard", " 1"}}, 0x0A0, 0x02},
      {{{"Send_NG_J1939", "1"}}, 0x0A0, 0x10},
      {{{"Delay_CANopen", "<missing>"}}, 0x0A4, 10000},
      {{{"Delay_CANopen", "3"}}, 0x0A4, 3000},
      {{{"TO_SDO_Client", "<missing>"}}, 0x0A8, 10000},
      {{{"TO_SDO_Client", "123456"}}, 0x0A8, 123456},
      {{{"BG_Send_Every", "250"}}, 0x108, 250},
      {{}, 0x028, 0x0500A8C0},                            // 192.168.0.5
      {{{"Ethernet_IP3", "300"}, {"Ethernet_IP4", "<missing>"}}, 0x028, 0x052CA8C0},  // low byte of 300 is 44
      {{}, 0x02C, 0x00FFFFFF},
      {{}, 0x030, 0xFFFFFFFF},                            // no gateway enabled
      {{{"Ethernet_EN_GAT", "1"}}, 0x030, 0x0100A8C0},    // 192.168.0.1
      {{{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT4", "<missing>"}}, 0x030, 0x0100A8C0},
      {{{"Ethernet_EN_GAT", "1"}, {"Ethernet_GAT4", "254"}}, 0x030, 0xFE00A8C0},
      {{{"Ethernet_EN_GAT", "Y"}, {"Ethernet_GAT4", "254"}}, 0x030, 0xFFFFFFFF},
  };
  for (const Case& c : cases) {
    Project project;
    project.write("ParGen.xml", par_gen_xml(c.changes));
    const std::vector<std::uint8_t> image = image_of(project);
    const ConstByteSpan s = ConstByteSpan(image).subspan(0xF400, 2048);
    std::string label;
    for (const auto& [name, value] : c.changes) label += name + "=" + value + " ";
    EXPECT_EQ(get_u32le(s, c.offset), c.value) << label << "at " << c.offset;
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < 0x7FC; ++i) sum += s[i];
    EXPECT_EQ(get_u32le(s, 0x7FC), sum) << label;
  }
}

TEST(ImagePass, ReceiveAndTransmitFrameRecords) {
  Project project;
  project.write("RCobDef.xml",
                table_xml("COBID", {receive_frame("61444", "0", "N", "5", "20", "N", "Y", "250"),
                                    receive_frame("65226", "3", "y", "2", "4", "Y", "N", "100"),
                                    set(receive_frame("65262", "0"), "DP", "1")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "61444", "0", "Y", "N", "y", "100"),
                                                   transmit_frame("x", "1", "0xFEEE", "0x21", "N", "Y", "N", "")}));
  // The bank pass refuses priority "x"; the image pass takes 0.
  const std::vector<std::uint8_t> built = image_of(project);
  const ConstByteSpan image = built;
  // A single frame keeps 8 data bytes whatever its start byte and byte count say; the data of the
  // frames lie one after another: offsets 0, 8, 12.
  EXPECT_EQ(bytes(image, 0, 48), (Bytes{0x00, 0x04, 0xF0, 0x00, 0x04, 0, 0, 0, 8, 0, 0, 0, 250, 0, 0, 0,
                                        0x03, 0xCA, 0xFE, 0x00, 0x03, 0, 2, 0, 4, 0, 8, 0, 100, 0, 0, 0,
                                        0x00, 0xEE, 0xFE, 0x01, 0x00, 0, 0, 0, 8, 0, 12, 0, 0xE8, 0x03, 0, 0}));
  EXPECT_EQ(bytes(image, 0x1000, 24), (Bytes{0x00, 0x04, 0xF0, 0x18, 0x05, 0, 0, 0, 100, 0, 0, 0,
                                             0x21, 0xEE, 0xFE, 0x01, 0x02, 0, 8, 0, 0, 0, 0, 0}));
  const ConstByteSpan s = image.subspan(0xF400, 2048);
  EXPECT_EQ(get_u32le(s, 0x090), 3u);
  EXPECT_EQ(get_u32le(s, 0x094), 2u);
}

TEST(ImagePass, ObjectsThatNameNoFrameAreLeftOut) {
  Project project;
  project.write("RCobDef.xml", table_xml("COBID", {receive_frame("65226", "0", "Y", "0", "20"), receive_frame("65262", "0")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "61444", "0"), transmit_frame("6", "0", "61445", "0")}));
  project.write("RInfoCob.xml", table_xml("RInfoCob", {sdo_object("2", "0x2000", "1", "1", "3", "4"), sdo_object("0", "0x2001", "0", "0"),
                                                       sdo_object("3", "0x2002", "0", "0"), sdo_object("1", "0x2003", "2", "2", "7")}));
  project.write("TInfoCob.xml", table_xml("DefineSDOServerTraJ1939",
                                          {with(sdo_object("2", "0x3000", "1", "0", "1", "2", "3", "4"), "Send_SDO", "1"),
                                           with(sdo_object("-1", "0x3001", "1", "0"), "Send_SDO", "0")}));
  project.write("TpdoJ1939.xml", table_xml("PDOJ1939", {{{"COB-ID", "0x181"}, {"Dimension", "2"}, {"Offset", "3"}, {"Frame_J1939", "2"}, {"DataChange", "y"}, {"OnCAN", "N"}, {"OnTimer", "Y"}, {"SendTimer", "500"}, {"Mnemonic", ""}},
                                                        {{"COB-ID", "0x182"}, {"Dimension", "8"}, {"Offset", "1"}, {"Frame_J1939", "3"}, {"Mnemonic", ""}},
                                                        {{"COB-ID", "0x183"}, {"Dimension", "4"}, {"Offset", "5"}, {"Frame_J1939", "2"}, {"OnCAN", "Y"}, {"Mnemonic", ""}}}));
  project.write("pdoJ1939.xml", table_xml("Define_RPDO", {{{"COB-ID", "0x201"}, {"Dimension", "4"}, {"Offset", "5"}, {"Frame_J1939", "2"}, {"Mnemonic", ""}},
                                                          {{"COB-ID", "0x202"}, {"Dimension", "4"}, {"Offset", "5"}, {"Frame_J1939", "0"}, {"Mnemonic", ""}}}));
  Compiler compiler;
  compile_ok(compiler, project);
  const ConstByteSpan image = compiler.image();
  const ConstByteSpan s = settings_block(compiler);

  EXPECT_EQ(bytes(image, 0x1C00, 32), (Bytes{1, 0, 20, 0, 0x00, 0x20, 1, 2, 3, 0, 4, 0, 0, 0, 0, 0,
                                             0, 0, 0, 0, 0x03, 0x20, 2, 1, 7, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_TRUE(all_bytes(image, 0x1C20, 16, 0));
  EXPECT_EQ(get_u32le(s, 0x13C), 2u);
  // The bank holds and counts every row.
  EXPECT_EQ(get_u16le(compiler.bank(1), 1000 + 9), 0x2001u);

  EXPECT_EQ(bytes(image, 0x7C00, 20), (Bytes{1, 0, 8, 0, 0x00, 0x30, 1, 4, 1, 0, 2, 0, 3, 0, 4, 0, 1, 0, 0, 0}));
  EXPECT_TRUE(all_bytes(image, 0x7C14, 20, 0));
  EXPECT_EQ(get_u32le(s, 0x140), 1u);

  // Both TPDOs on frame 2 get its data offset 20.
  EXPECT_EQ(bytes(image, 0xFC00, 32), (Bytes{0x81, 0x01, 2, 0x05, 3, 0, 1, 0, 20, 0, 0, 0, 0xF4, 0x01, 0, 0,
                                             0x83, 0x01, 4, 0x02, 5, 0, 1, 0, 20, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(get_u32le(s, 0x144), 2u);
  EXPECT_EQ(get_u32le(s, 0x0CC), 2u);
  EXPECT_EQ(bytes(image, 0xFD00, 16), (Bytes{0x01, 0x02, 4, 0, 5, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(get_u32le(s, 0x148), 1u);
  EXPECT_EQ(get_u32le(s, 0x0C4), 1u);
}

TEST(ImagePass, ObjectTablesNeedFrames) {
  // No frames: none of the object files is read, whatever they hold.
  Project project;
  project.write("RInfoCob.xml", table_xml("RInfoCob", {sdo_object("1", "0x2000", "1", "1")}));
  project.write("TpdoJ1939.xml", table_xml("PDOJ1939", {{{"COB-ID", "0x181"}, {"Dimension", "2"}, {"Frame_J1939", "1"}, {"Mnemonic", ""}}}));
  Compiler compiler;
  compile_ok(compiler, project);
  EXPECT_TRUE(all_bytes(compiler.image(), 0, 0xF400, 0));
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x13C), 0u);
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x144), 0u);
}

TEST(ImagePass, NodeGuardingAndSdoClientFollowTheirEnableSettings) {
  struct Case {
    const char* node_guard;
    const char* sdo_client;
    const char* node_root;
  };
  const Case cases[] = {{"0", "0", "Node_Guarding"}, {"1", "1", "Node_Guarding"}, {"1", "1", "Guarded"}};
  for (const Case& c : cases) {
    Project project;
    project.write("ParGen.xml", par_gen_xml({{"NodeGuard", c.node_guard}, {"EN_SDO_Client", c.sdo_client}}));
    project.write("NodeGuard.xml", table_xml(c.node_root, {node("2", "1000", "3"), node("127", "0x1234", "255")}));
    project.write("NG_J1939_Frame.xml", table_xml("NG_J1939_Frames", {frame_row("6", "0", "0xFF10", "0x80"), frame_row("7", "1", "0", "1"),
                                                                      frame_row("1", "0", "2", "3"), frame_row("2", "0", "3", "4"),
                                                                      frame_row("3", "0", "4", "5"), frame_row("4", "0", "5", "6")}));
    // Three rows only: records 3 and 4 stay 0, the count is still 5.
    project.write("SDOClient.xml", table_xml("J1939_Frames_SDOClient", {frame_row("6", "0", "0xEF00", "0xF9"), frame_row("6", "1", "0xEF01", "0x10"),
                                                                        frame_row("5", "0", "0xEF02", "0xF9")}));
    Compiler compiler;
    compile_ok(compiler, project);
    const ConstByteSpan image = compiler.image();
    const ConstByteSpan s = settings_block(compiler);
    const bool guarding = std::string(c.node_guard) == "1";
    const bool named = std::string(c.node_root) == "Node_Guarding";
    if (guarding && named) {
      EXPECT_EQ(bytes(image, 0xFD80, 12), (Bytes{2, 3, 0xE8, 0x03, 127, 255, 0x34, 0x12, 0, 0, 0, 0}));
      EXPECT_EQ(get_u32le(s, 0x154), 2u);
    } else {
      EXPECT_TRUE(all_bytes(image, 0xFD80, 128, 0)) << c.node_guard << c.node_root;
      EXPECT_EQ(get_u32le(s, 0x154), 0u);
    }
    if (guarding) {
      const std::uint32_t words[] = {0x18FF1080, 0x1D000001, 0x04000203, 0x08000304, 0x0C000405};
      for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_EQ(get_u32le(image, 0xFE00 + 16 * k), words[k]) << k;
        EXPECT_TRUE(all_bytes(image, 0xFE00 + 16 * k + 4, 12, 0));
      }
      EXPECT_TRUE(all_bytes(image, 0xFE50, 48, 0));  // the sixth row is not read
      // The three request frames carry no priority, the answer their own.
      EXPECT_EQ(get_u32le(image, 0xFE80), 0x00EF00F9u);
      EXPECT_EQ(get_u32le(image, 0xFE90), 0x19EF0110u);
      EXPECT_EQ(get_u32le(image, 0xFEA0), 0x00EF02F9u);
      EXPECT_TRUE(all_bytes(image, 0xFEB0, 80, 0));
      EXPECT_EQ(get_u32le(s, 0x14C), 5u);
    } else {
      EXPECT_TRUE(all_bytes(image, 0xFE00, 256, 0));
      EXPECT_EQ(get_u32le(s, 0x14C), 0u);
    }
  }
}

TEST(ImagePass, ASecondCompileLeavesNoTraceOfTheFirst) {
  Project project;
  project.write("ParGen.xml", par_gen_xml({{"NodeGuard", "1"}}));
  project.write("NodeGuard.xml", table_xml("Node_Guarding", {node("1", "100", "3"), node("2", "100", "3"), node("3", "100", "3")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "1", "0"), transmit_frame("6", "0", "2", "0")}));
  Compiler compiler;
  compile_ok(compiler, project);
  project.write("NodeGuard.xml", table_xml("Node_Guarding", {node("9", "100", "3")}));
  project.write("TCobDef.xml", table_xml("COBID", {transmit_frame("6", "0", "3", "0")}));
  compile_ok(compiler, project);
  EXPECT_EQ(bytes(compiler.image(), 0xFD80, 8), (Bytes{9, 3, 100, 0, 0, 0, 0, 0}));
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x154), 1u);
  EXPECT_TRUE(all_bytes(compiler.image(), 0x1000 + 12, 12, 0));
  EXPECT_EQ(get_u32le(settings_block(compiler), 0x094), 1u);
}

}  // namespace
}  // namespace brenvale
