#include "update/icmp_pinger.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/ip.h>
#include <netinet/ip_icmp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace brenvale {

namespace {

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;

Error socket_error(const char* what) { return Error{std::string(what) + ": " + std::strerror(errno)}; }

}  // namespace

std::uint16_t internet_checksum(const void* data, std::size_t size) {
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += static_cast<std::uint32_t>(bytes[i] << 8 | bytes[i + 1]);
  if (size % 2) sum += static_cast<std::uint32_t>(bytes[size - 1] << 8);
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::string echo_request(std::uint16_t identifier) {
  std::string packet(8, '\0');
  packet[0] = static_cast<char>(kEchoRequest);
  packet[4] = static_cast<char>(identifier >> 8);
  packet[5] = static_cast<char>(identifier & 0xFF);
  // Sequence number 0: bytes 6 and 7 stay zero.
  packet += kEchoData;
  const std::uint16_t sum = internet_checksum(packet.data(), packet.size());
  packet[2] = static_cast<char>(sum >> 8);
  packet[3] = static_cast<char>(sum & 0xFF);
  return packet;
}

IcmpPinger::~IcmpPinger() {
  if (fd_ >= 0) ::close(fd_);
}

Status IcmpPinger::open_socket() {
  if (fd_ >= 0) return ok_status();
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, IPPROTO_ICMP);
  raw_ = false;
  if (fd_ < 0) {
    fd_ = ::socket(AF_INET, SOCK_RAW | SOCK_CLOEXEC, IPPROTO_ICMP);
    raw_ = true;
  }
  if (fd_ < 0) return socket_error("No ICMP socket");
  id_ = static_cast<std::uint16_t>(::getpid() & 0xFFFF);
  return ok_status();
}

Status IcmpPinger::set_host(const std::string& address) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_flags = AI_NUMERICHOST;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(address.c_str(), nullptr, &hints, &found);
  if (rc != 0 || !found) return Error{address + ": " + ::gai_strerror(rc)};
  std::memcpy(&target_, found->ai_addr, sizeof target_);
  ::freeaddrinfo(found);
  return open_socket();
}

Status IcmpPinger::send_echo() {
  if (fd_ < 0) return Error{"No ICMP socket"};
  // A reply that came after the previous attempt's time-out is stale; drop it.
  char drain[1500];
  while (::recv(fd_, drain, sizeof drain, MSG_DONTWAIT) > 0) {
  }
  // The datagram socket puts its own identifier into the request.
  const std::string packet = echo_request(id_);
  if (::sendto(fd_, packet.data(), packet.size(), 0, reinterpret_cast<const sockaddr*>(&target_), sizeof target_) < 0) {
    return socket_error("Cannot send the echo request");
  }
  return ok_status();
}

Result<EchoState> IcmpPinger::poll_reply() {
  if (fd_ < 0) return Error{"No ICMP socket"};
  for (;;) {
    std::uint8_t buffer[1500];
    sockaddr_in from{};
    socklen_t from_size = sizeof from;
    const ssize_t n =
        ::recvfrom(fd_, buffer, sizeof buffer, MSG_DONTWAIT, reinterpret_cast<sockaddr*>(&from), &from_size);
    if (n < 0) {
      if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) return EchoState::kWaiting;
      return socket_error("Cannot receive the echo reply");
    }
    if (from.sin_addr.s_addr != target_.sin_addr.s_addr) continue;
    std::size_t offset = 0;
    if (raw_) {
      // A raw socket hands over the IP header too, and sees every ICMP message of the host.
      if (n < 1) continue;
      offset = static_cast<std::size_t>(buffer[0] & 0x0F) * 4;
    }
    if (static_cast<std::size_t>(n) < offset + 8) continue;
    const std::uint8_t* icmp = buffer + offset;
    if (icmp[0] != kEchoReply) continue;
    if (icmp[6] != 0 || icmp[7] != 0) continue;  // not sequence number 0
    if (raw_ && (icmp[4] != (id_ >> 8) || icmp[5] != (id_ & 0xFF))) continue;  // another program's echo
    // Any echo reply counts as one carrying data: its bytes arrived.
    return EchoState::kReply;
  }
}

}  // namespace brenvale
