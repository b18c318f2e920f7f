// Names and numbers of this configurator that every window and the command line show.
#pragma once

#include <string>

namespace brenvale {

inline constexpr const char* kProductCode = "Talvik";
inline constexpr const char* kProductDescription = "J1939 / CANopen - Converter";
inline constexpr const char* kWindowTitle = "Corvane - Configurator Talvik - J1939 / CANopen ";
inline constexpr const char* kVersion = "2.001";
inline constexpr const char* kManualCode = "Pelkin";

// The maker's web server (scheme, host, port): the build-time constant unless the environment
// variable BRENVALE_SERVER names another.
std::string maker_server();
// The maker's home page: "/HOME/default.asp?frompg=" + product code.
std::string maker_home_page();
// The download page that the update links open.
std::string maker_download_page();

}  // namespace brenvale
