#include "cli/texts_command.h"

#include <iostream>

#include "project/project_store.h"
#include "text/catalogue.h"
#include "text/catalogue_file.h"

namespace brenvale::cli {

int run_texts(const TextsOptions& options) {
  const AppFolders folders{options.app_dir.empty() ? executable_folder() : std::filesystem::path(options.app_dir)};
  Catalogue catalogue;
  std::string language = options.language;
  catalogue.load(folders.language(), language);
  std::cout << catalogue_as_language_file(catalogue);
  return std::cout.good() ? 0 : 1;
}

}  // namespace brenvale::cli
