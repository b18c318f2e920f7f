// brenvale-cli texts: the catalogue as loaded for a language, as a template for translators.
#pragma once

#include <string>

namespace brenvale::cli {

struct TextsOptions {
  std::string app_dir;
  std::string language = "English";
};

int run_texts(const TextsOptions& options);

}  // namespace brenvale::cli
