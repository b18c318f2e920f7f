#include "cli/check_command.h"

#include <algorithm>
#include <iostream>
#include <system_error>

#include "compiler/frame_references.h"

namespace brenvale::cli {

const std::vector<TableCheck>& table_checks() {
  // REGISTRATION LIST - one entry per table window, in the order of the main window's steps:
  //   Step 2  communication settings   (ParGen.xml)
  //   Step 3  receive J1939 frames     (RCobDef.xml)
  //           SDO server read objects  (RInfoCob.xml)
  //           transmit PDOs            (TpdoJ1939.xml)
  //   Step 4  transmit J1939 frames    (TCobDef.xml)
  //           SDO server write objects (TInfoCob.xml)
  //           receive PDOs             (pdoJ1939.xml)
  //   Step 5  SDO client               (SDOClient.xml)
  //   Step 6  node guarding            (NodeGuard.xml, NG_J1939_Frame.xml)
  // Each table's logic unit supplies its check (load, validate, and the catalogue text of the
  // first failure); add it here in that order as the tables arrive.
  static const std::vector<TableCheck> checks = {};
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

void add_check_options(CLI::App& sub, CheckOptions& options) {
  sub.add_option("PROJECT_DIR", options.project_dir, "Configuration folder holding the table files")->required();
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
