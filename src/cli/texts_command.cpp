#include "cli/texts_command.h"

#include <iostream>

#include "project/project_store.h"
#include "text/catalogue.h"
#include "text/catalogue_file.h"

namespace brenvale::cli {

void add_texts_options(CLI::App& sub, TextsOptions& options) {
  sub.add_option("--app-dir", options.app_dir, "Application folder (default: the executable's folder)");
  sub.add_option("--language", options.language, "Language to load from LANGUAGE (default: English)");
}

int run_texts(const TextsOptions& options) {
  const AppFolders folders{options.app_dir.empty() ? executable_folder() : std::filesystem::path(options.app_dir)};
  Catalogue catalogue;
  std::string language = options.language;
  catalogue.load(folders.language(), language);
  std::cout << catalogue_as_language_file(catalogue);
  return std::cout.good() ? 0 : 1;
}

}  // namespace brenvale::cli
