// brenvale-cli texts: the catalogue as loaded for a language, as a template for translators.
#pragma once

#include <string>

#include <CLI/CLI.hpp>

namespace brenvale::cli {

struct TextsOptions {
  std::string app_dir;
  std::string language = "English";
};

void add_texts_options(CLI::App& sub, TextsOptions& options);
int run_texts(const TextsOptions& options);

}  // namespace brenvale::cli
