// brenvale-cli check PROJECT_DIR: runs the OK-validation of every table window on the files as
// stored, in the order of the main window's steps, and prints each failure as "<file>: <message>";
// then lists every row that refers to a frame that does not exist. Exit 1 when anything was
// printed, 0 otherwise.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/project_store.h"
#include "text/catalogue.h"

namespace brenvale::cli {

// One table window's OK-validation over the stored files: its failures as "<file>: <message>"
// lines (a table window stops at its first failure, so usually one line or none).
using TableCheck = std::function<std::vector<std::string>(const ConfigFiles&, const Catalogue&)>;

// The checks in the order of the main window's steps.
const std::vector<TableCheck>& table_checks();

struct CheckOptions {
  std::string project_dir;
};

int run_check(const CheckOptions& options);

// Every line the check prints for a configuration, in order.
std::vector<std::string> check_lines(const ConfigFiles& files, const Catalogue& catalogue);

}  // namespace brenvale::cli
