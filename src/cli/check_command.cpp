#include "cli/check_command.h"

#include <algorithm>
#include <iostream>
#include <system_error>

#include "canopen/node_guard_table.h"
#include "canopen/pdo_table.h"
#include "canopen/sdo_client_table.h"
#include "canopen/sdo_server_table.h"
#include "compiler/frame_references.h"
#include "j1939/receive_frames.h"
#include "j1939/transmit_frames.h"
#include "settings/settings_record.h"
#include "settings/settings_rules.h"

namespace brenvale::cli {

namespace {

// One table window's OK-validation on the file as stored: the load error, or the message of the
// first failing check, each as "<file>: <message>".
template <typename Table, typename Open, typename Validate>
TableCheck window_check(std::filesystem::path (ConfigFiles::*file)() const, Open open, Validate validate) {
  return [=](const ConfigFiles& files, const Catalogue& catalogue) -> std::vector<std::string> {
    const std::string name = (files.*file)().filename().string();
    Result<Table> table = open(files);
    if (!table) return {table.error().message};
    if (auto failure = validate(*table, catalogue)) return {name + ": " + *failure};
    return {};
  };
}

}  // namespace

const std::vector<TableCheck>& table_checks() {
  // In the order of the main window's steps. The SDO server tables have no checks on OK; their
  // load errors and dangling frames are still reported.
  static const std::vector<TableCheck> checks = {
      window_check<SettingsRecord>(
          &ConfigFiles::par_gen, [](const ConfigFiles& f) { return load_settings(f.par_gen()); },
          [](const SettingsRecord& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_settings(t)) return c.get(failure->message_index);
            return std::nullopt;
          }),
      window_check<ReceiveFrames>(
          &ConfigFiles::receive_frames,
          [](const ConfigFiles& f) { return open_receive_frames(f.par_gen(), f.receive_frames()); },
          [](const ReceiveFrames& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_receive_frames(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
      window_check<SdoServerTable>(
          &ConfigFiles::sdo_read,
          [](const ConfigFiles& f) {
            return SdoServerTable::open(SdoVariant::kRead, f.receive_frames(), f.sdo_read());
          },
          [](const SdoServerTable&, const Catalogue&) -> std::optional<std::string> { return std::nullopt; }),
      window_check<PdoTable>(
          &ConfigFiles::transmit_pdos,
          [](const ConfigFiles& f) {
            return open_pdo_table(PdoVariant::kTransmit, f.par_gen(), f.receive_frames(), f.transmit_pdos());
          },
          [](const PdoTable& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_pdo_table(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
      window_check<TransmitFrames>(
          &ConfigFiles::transmit_frames,
          [](const ConfigFiles& f) { return open_transmit_frames(f.par_gen(), f.transmit_frames()); },
          [](const TransmitFrames& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_transmit_frames(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
      window_check<SdoServerTable>(
          &ConfigFiles::sdo_write,
          [](const ConfigFiles& f) {
            return SdoServerTable::open(SdoVariant::kWrite, f.transmit_frames(), f.sdo_write());
          },
          [](const SdoServerTable&, const Catalogue&) -> std::optional<std::string> { return std::nullopt; }),
      window_check<PdoTable>(
          &ConfigFiles::receive_pdos,
          [](const ConfigFiles& f) {
            return open_pdo_table(PdoVariant::kReceive, f.par_gen(), f.transmit_frames(), f.receive_pdos());
          },
          [](const PdoTable& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_pdo_table(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
      window_check<SdoClientTable>(
          &ConfigFiles::sdo_client, [](const ConfigFiles& f) { return load_sdo_client_table(f.sdo_client()); },
          [](const SdoClientTable& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_sdo_client_table(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
      window_check<NodeGuardTable>(
          &ConfigFiles::node_guard,
          [](const ConfigFiles& f) { return load_node_guard_table(f.node_guard(), f.node_guard_frames()); },
          [](const NodeGuardTable& t, const Catalogue& c) -> std::optional<std::string> {
            if (auto failure = validate_node_guard_table(t)) return failure_text(c, *failure);
            return std::nullopt;
          }),
  };
  return checks;
}

namespace {

// A load error names the file by its full path; the check names files as they stand in the folder.
std::string with_file_name(const ConfigFiles& files, const std::string& message) {
  const std::string folder = files.folder.string();
  if (!folder.empty() && message.rfind(folder, 0) == 0) {
    std::string rest = message.substr(folder.size());
    while (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
    return rest;
  }
  return message;
}

}  // namespace

std::vector<std::string> check_lines(const ConfigFiles& files, const Catalogue& catalogue) {
  std::vector<std::string> lines;
  // The same unreadable file may be reported by several checks; print it once.
  const auto add = [&](std::string line) {
    if (std::find(lines.begin(), lines.end(), line) == lines.end()) lines.push_back(std::move(line));
  };
  for (const TableCheck& check : table_checks()) {
    for (std::string& line : check(files, catalogue)) add(with_file_name(files, line));
  }
  const FrameReferenceReport references = find_dangling_frame_references(files);
  for (const Error& error : references.unreadable) add(with_file_name(files, error.message));
  for (const DanglingReference& r : references.dangling) {
    add(r.file + ": row " + std::to_string(r.row) + ": frame " + r.frame + " does not exist");
  }
  return lines;
}

int run_check(const CheckOptions& options) {
  const ConfigFiles files{options.project_dir};
  std::error_code ec;
  if (!std::filesystem::is_directory(files.folder, ec)) {
    std::cout << files.folder.string() << ": the configuration folder does not exist\n";
    return 1;
  }
  const Catalogue catalogue;
  const std::vector<std::string> lines = check_lines(files, catalogue);
  for (const std::string& line : lines) std::cout << line << "\n";
  std::cout.flush();
  return lines.empty() ? 0 : 1;
}

}  // namespace brenvale::cli
