// Every file the program writes, with a write that fails part way (a full disk): the user gets
// an error naming the file, the files keep their old content, and no temporary file is left.
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "app/app_settings.h"
#include "canopen/node_guard_table.h"
#include "canopen/pdo_table.h"
#include "canopen/sdo_server_table.h"
#include "canopen/sdo_client_table.h"
#include "eds/eds_writer.h"
#include "compiler/compiler.h"
#include "file_tree.h"
#include "j1939/receive_frames.h"
#include "j1939/transmit_frames.h"
#include "project/atomic_file.h"
#include "project/project_store.h"
#include "settings/settings_record.h"
#include "update/ethernet_update_file.h"
#include "support/temp_dir.h"

namespace brenvale {
namespace {

namespace fs = std::filesystem;
using testing::file_tree;
using testing::FileTree;
using testing::read_text;
using testing::TempDir;
using testing::write_text;

Result<LocalTime> fixed_clock() { return LocalTime{2024, 3, 7, 14, 30}; }

NodeGuardTable guarded_pump() {
  NodeGuardTable table = default_node_guard_table();
  table.rows[0] = GuardedNode{"5", "100", "3", "Pump"};
  return table;
}

ReceiveFrames one_receive_frame() {
  ReceiveFrames t;
  t.set_cell(0, ReceiveColumn::kPgn, "61444");
  t.set_cell(0, ReceiveColumn::kSourceAddress, "0");
  t.set_cell(0, ReceiveColumn::kMnemonic, "EEC1");
  return t;
}

TransmitFrames one_transmit_frame() {
  TransmitFrames t;
  for (int c = 0; c < t.cells.column_count(); ++c) t.cells.set_cell(0, c, "1");
  return t;
}

PdoTable one_pdo(PdoVariant variant) {
  PdoTable t(variant, EthernetPort::kWithPort);
  for (int c = 0; c < t.cells.column_count(); ++c) t.cells.set_cell(0, c, "1");
  t.cells.set_cell(0, 0, "0x181");
  return t;
}

// The SDO server objects of the fixture, opened beside a frames file in a folder of their own.
SdoServerTable sdo_server_table(SdoVariant variant) {
  TempDir source;
  const bool read = variant == SdoVariant::kRead;
  const char* objects = read ? "RInfoCob.xml" : "TInfoCob.xml";
  write_text(source / "frames.xml", R"(<COBID><row DP="0" PGN="61444" ID_DEV="0"/></COBID>)");
  fs::copy_file(fs::path(BRENVALE_FIXTURES) / "eds/several" / objects, source / objects);
  Result<SdoServerTable> table = SdoServerTable::open(variant, source / "frames.xml", source / objects);
  EXPECT_TRUE(table.ok());
  return table ? *table : SdoServerTable(variant);
}

const std::vector<std::string> kBinFiles = {"bin/bank1.bin", "bin/bank2.bin", "bin/bank3.bin", "bin/bank4.bin",
                                            "bin/bank5.bin", "bin/bankg.c",   "bin/bank.bin"};

Result<UpdatePath> compile_into(const fs::path& folder) {
  Compiler compiler;
  return compile_and_write(compiler, ConfigFiles{folder}, fixed_clock(LocalDateTime{2024, 3, 7, 14, 30, 12}));
}

struct Writer {
  const char* name;
  // The configuration the writer reads, copied from the fixtures; empty for none.
  const char* input_fixture;
  // The files it writes, relative to the folder.
  std::vector<std::string> outputs;
  std::function<Status(const fs::path& folder)> save;
};

const std::vector<Writer>& writers() {
  static const std::vector<Writer> list = {
      {"application settings", "", {"Brenvale.xml"},
       [](const fs::path& f) {
         AppSettings s;
         s.project_name = "Truck";
         s.enable_internet = true;
         return save_app_settings(f / "Brenvale.xml", s);
       }},
      {"communication settings", "", {"ParGen.xml"},
       [](const fs::path& f) { return save_settings(f / "ParGen.xml", SettingsRecord{}); }},
      {"SDO client", "", {"SDOClient.xml"},
       [](const fs::path& f) { return save_sdo_client_table(f / "SDOClient.xml", default_sdo_client_table()); }},
      {"node guarding", "", {"NodeGuard.xml", "NG_J1939_Frame.xml"},
       [](const fs::path& f) {
         return save_node_guard_table(f / "NodeGuard.xml", f / "NG_J1939_Frame.xml", guarded_pump());
       }},
      {"data sheet", "eds/several", {"device.eds"},
       [](const fs::path& f) { return write_eds(EdsTemplate::kWithPort, ConfigFiles{f}, f / "device.eds", fixed_clock); }},
      {"receive frames", "", {"RCobDef.xml"},
       [](const fs::path& f) { return save_receive_frames(one_receive_frame(), f / "RCobDef.xml"); }},
      {"transmit frames", "", {"TCobDef.xml"},
       [](const fs::path& f) { return save_transmit_frames(one_transmit_frame(), f / "TCobDef.xml"); }},
      {"transmit PDOs", "", {"TpdoJ1939.xml"},
       [](const fs::path& f) { return save_pdo_table(one_pdo(PdoVariant::kTransmit), f / "TpdoJ1939.xml"); }},
      {"receive PDOs", "", {"pdoJ1939.xml"},
       [](const fs::path& f) { return save_pdo_table(one_pdo(PdoVariant::kReceive), f / "pdoJ1939.xml"); }},
      {"SDO server read objects", "", {"RInfoCob.xml"},
       [](const fs::path& f) { return sdo_server_table(SdoVariant::kRead).save(f / "RInfoCob.xml"); }},
      {"SDO server write objects", "", {"TInfoCob.xml"},
       [](const fs::path& f) { return sdo_server_table(SdoVariant::kWrite).save(f / "TInfoCob.xml"); }},
      {"compiled bank files", "../../examples/Truck_Demo", kBinFiles,
       [](const fs::path& f) {
         const Result<UpdatePath> done = compile_into(f);
         return done ? ok_status() : Status(done.error());
       }},
      {"Ethernet updater parameters", "", {"Ethernet_Update.xml"},
       [](const fs::path& f) {
         EthernetUpdateRequest request{"127.0.0.1", UpdateOption::kFirmware, true, f / "MASTER", f / "PROJECTS" / "Truck"};
         return write_ethernet_update_file(f / "Ethernet_Update.xml", request);
       }},
  };
  return list;
}

class WriteFailure : public ::testing::TestWithParam<Writer> {
 protected:
  void TearDown() override { set_write_fault_after(std::nullopt); }

  // A folder with the writer's input and an old version of each output.
  void prepare(const fs::path& folder) const {
    const Writer& w = GetParam();
    if (*w.input_fixture) testing::copy_tree(fs::path(BRENVALE_FIXTURES) / w.input_fixture, folder);
    for (const std::string& out : w.outputs) write_text(folder / out, "old " + out + "\n");
  }
};

TEST_P(WriteFailure, CutShortLeavesEveryFileAsItWas) {
  const Writer& w = GetParam();
  // The complete run, for the sizes of what is written.
  TempDir reference;
  prepare(reference.path());
  ASSERT_TRUE(w.save(reference.path()).ok());
  const std::size_t first_size = read_text(reference / w.outputs.front()).size();
  ASSERT_GT(first_size, 2u);

  for (const std::size_t cut : {std::size_t{0}, std::size_t{1}, first_size / 2, first_size - 1}) {
    SCOPED_TRACE(cut);
    TempDir dir;
    prepare(dir.path());
    const FileTree before = file_tree(dir.path());
    set_write_fault_after(cut);
    const Status status = w.save(dir.path());
    set_write_fault_after(std::nullopt);
    ASSERT_FALSE(status.ok());
    EXPECT_NE(status.error().message.find(w.outputs.front()), std::string::npos) << status.error().message;
    EXPECT_EQ(file_tree(dir.path()), before);
  }
}

TEST_P(WriteFailure, WithoutAnOldFileNothingIsLeft) {
  const Writer& w = GetParam();
  TempDir dir;
  if (*w.input_fixture) testing::copy_tree(fs::path(BRENVALE_FIXTURES) / w.input_fixture, dir.path());
  const FileTree before = file_tree(dir.path());
  set_write_fault_after(1);
  const Status status = w.save(dir.path());
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(file_tree(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(EveryOutput, WriteFailure, ::testing::ValuesIn(writers()),
                         [](const auto& info) {
                           std::string n = info.param.name;
                           for (char& c : n) if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           return n;
                         });

// The node list and its frames belong together: when the frames cannot be written, the node
// list that was already replaced is put back.
TEST(WriteFailure, NodeGuardingFramesFailingPutsTheNodeListBack) {
  TempDir dir;
  const NodeGuardTable table = guarded_pump();
  const std::size_t nodes_size = node_guard_xml(table).size();
  const std::size_t frames_size = node_guard_frames_xml(table).size();
  ASSERT_LT(nodes_size, frames_size);
  write_text(dir / "NodeGuard.xml", "old list");
  write_text(dir / "NG_J1939_Frame.xml", "old frames");
  const FileTree before = file_tree(dir.path());

  set_write_fault_after(nodes_size);  // the node list fits, the frames do not
  const Status status = save_node_guard_table(dir / "NodeGuard.xml", dir / "NG_J1939_Frame.xml", table);
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.error().message.find("NG_J1939_Frame.xml"), std::string::npos);
  EXPECT_NE(status.error().message.find("NodeGuard.xml was left as it was"), std::string::npos);
  EXPECT_EQ(file_tree(dir.path()), before);
}

// A disk that fills up during the compile's seven files: they are replaced as one set, so every
// file keeps its old content, and the error names each file that could not be written.
TEST(WriteFailure, CompileStoppedByAFullDiskReplacesNoFileAndNamesTheFilesNotWritten) {
  TempDir dir;
  testing::copy_tree(fs::path(BRENVALE_FIXTURES) / "../../examples/Truck_Demo", dir.path());
  for (const std::string& out : kBinFiles) write_text(dir / out, "old");
  const FileTree before = file_tree(dir.path());
  set_write_fault_after(16384);  // a bank fits, the C dump and the image do not
  const Result<UpdatePath> done = compile_into(dir.path());
  set_write_fault_after(std::nullopt);
  ASSERT_FALSE(done.ok());
  EXPECT_EQ(file_tree(dir.path()), before);
  for (const std::string& out : kBinFiles) {
    SCOPED_TRACE(out);
    const bool fits = out.ends_with(".bin") && out != "bin/bank.bin";
    EXPECT_EQ(done.error().message.find(out) != std::string::npos, !fits) << done.error().message;
  }
}

}  // namespace
}  // namespace brenvale
