// brenvale-cli eds: the electronic data sheet of a configuration folder, as the "EDS File" step
// writes it; the template follows the configuration's hardware variant unless one is named.
#pragma once

#include <string>

namespace brenvale::cli {

struct EdsOptions {
  std::string project_dir;
  std::string output;
  std::string template_name;  // "with-port", "without-port" or empty for the variant's own
};

// 0 when written; 1 with a message on stderr and no file written.
int run_eds(const EdsOptions& options);

}  // namespace brenvale::cli
