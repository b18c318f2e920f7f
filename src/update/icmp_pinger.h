// The converter's ping over ICMP. On Linux an unprivileged program may send echo requests through
// an ICMP datagram socket when net.ipv4.ping_group_range admits its group; otherwise a raw socket
// serves, which needs CAP_NET_RAW.
#pragma once

#include <netinet/in.h>
#include <string>

#include "update/device_ping.h"

namespace brenvale {

inline constexpr const char* kEchoData = "abcdefghijklmnopqrstuvwa";

class IcmpPinger : public Pinger {
 public:
  IcmpPinger() = default;
  ~IcmpPinger() override;
  IcmpPinger(const IcmpPinger&) = delete;
  IcmpPinger& operator=(const IcmpPinger&) = delete;

  // Only numeric IPv4 addresses are taken: the address comes from four number fields, and a name
  // lookup would send queries to a name server instead of the converter.
  Status set_host(const std::string& address) override;
  Status send_echo() override;
  Result<EchoState> poll_reply() override;

  // True when the socket in use is a raw one (the datagram socket was refused).
  bool uses_raw_socket() const { return raw_; }

 private:
  Status open_socket();

  int fd_ = -1;
  bool raw_ = false;
  std::uint16_t id_ = 0;
  sockaddr_in target_{};
};

// The echo request as sent: type 8, code 0, checksum, identifier, sequence number 0, data.
std::string echo_request(std::uint16_t identifier);
// The Internet checksum (one's complement of the one's complement sum of 16-bit words).
std::uint16_t internet_checksum(const void* data, std::size_t size);

}  // namespace brenvale
