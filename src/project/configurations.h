// Creating a configuration folder and listing the existing ones, as the New and Open
// configuration dialogs do it.
#pragma once

#include <string>
#include <vector>

#include "project/project_store.h"

namespace brenvale {

// The outcome of creating a configuration: 0 on success, else the catalogue index of the error.
enum class CreateResult : int {
  kCreated = 0,
  kCreateFailed = 29,   // "Error! Name project is not valid"
  kAlreadyExists = 30,  // "... because directory already exists"
  kEmptyName = 31,      // "Error! Name Project is not valid"
};

// Creates PROJECTS/<name> and its bin folder and makes it the active configuration. The name is
// used exactly as typed; names that would leave PROJECTS are refused like a folder that cannot be
// created.
CreateResult create_configuration(ActiveConfiguration& active, const std::string& name);

// The configuration folders under PROJECTS in listing order; hidden folders are skipped.
std::vector<std::string> list_configurations(const AppFolders& folders);

// Index of the first name equal to `name` ignoring the case of a-z, or -1.
int find_configuration(const std::vector<std::string>& names, const std::string& name);

// The entry to preselect in the open dialog: the active configuration, else the first; -1 when
// the list is empty.
int preselect_configuration(const std::vector<std::string>& names, const std::string& active_name);

}  // namespace brenvale
