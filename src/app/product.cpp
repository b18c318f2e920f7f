#include "app/product.h"

#include <cstdlib>

namespace brenvale {

std::string maker_server() {
  const char* env = std::getenv("BRENVALE_SERVER");
  std::string server = (env && *env) ? env : BRENVALE_DEFAULT_SERVER;
  while (!server.empty() && server.back() == '/') server.pop_back();
  return server;
}

std::string maker_home_page() { return maker_server() + "/HOME/default.asp?frompg=" + kProductCode; }

std::string maker_download_page() { return maker_server() + "/Home/download/download.asp#Ormund"; }

}  // namespace brenvale
