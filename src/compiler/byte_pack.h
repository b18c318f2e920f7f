// Little-endian packing of the converter's byte forms. Every field is stored least significant
// byte first at exactly its offset, with no alignment, and a value wider than its field keeps
// only its low-order bits. A write that would leave the buffer is a fault of the caller's
// capacity logic, so it stops the program rather than touch memory it does not own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace brenvale {

using ByteSpan = std::span<std::uint8_t>;
using ConstByteSpan = std::span<const std::uint8_t>;

namespace detail {
inline void check_room(std::size_t size, std::size_t offset, std::size_t width) {
  if (offset > size || size - offset < width) std::abort();
}
}  // namespace detail

inline void put_u8(ByteSpan buf, std::size_t offset, std::uint32_t value) {
  detail::check_room(buf.size(), offset, 1);
  buf[offset] = static_cast<std::uint8_t>(value & 0xFFu);
}

inline void put_u16le(ByteSpan buf, std::size_t offset, std::uint32_t value) {
  detail::check_room(buf.size(), offset, 2);
  buf[offset] = static_cast<std::uint8_t>(value & 0xFFu);
  buf[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFFu);
}

inline void put_u32le(ByteSpan buf, std::size_t offset, std::uint32_t value) {
  detail::check_room(buf.size(), offset, 4);
  for (std::size_t i = 0; i < 4; ++i) buf[offset + i] = static_cast<std::uint8_t>((value >> (8 * i)) & 0xFFu);
}

// Sets `count` bytes from `offset` on to `value`.
inline void fill_bytes(ByteSpan buf, std::size_t offset, std::size_t count, std::uint8_t value) {
  detail::check_room(buf.size(), offset, count);
  for (std::size_t i = 0; i < count; ++i) buf[offset + i] = value;
}

inline std::uint32_t get_u8(ConstByteSpan buf, std::size_t offset) {
  detail::check_room(buf.size(), offset, 1);
  return buf[offset];
}

inline std::uint32_t get_u16le(ConstByteSpan buf, std::size_t offset) {
  detail::check_room(buf.size(), offset, 2);
  return static_cast<std::uint32_t>(buf[offset]) | (static_cast<std::uint32_t>(buf[offset + 1]) << 8);
}

inline std::uint32_t get_u32le(ConstByteSpan buf, std::size_t offset) {
  detail::check_room(buf.size(), offset, 4);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(buf[offset + i]) << (8 * i);
  return value;
}

// The J1939 identifier word ((priority x 4 + data page) x 65536 + PGN) x 256 + address, in
// 32-bit arithmetic without masking: for values in range it is the 29-bit extended identifier.
inline std::uint32_t j1939_identifier(std::int32_t priority, std::int32_t data_page, std::int32_t pgn,
                                      std::int32_t address) {
  const auto u = [](std::int32_t v) { return static_cast<std::uint32_t>(v); };
  return ((u(priority) * 4u + u(data_page)) * 65536u + u(pgn)) * 256u + u(address);
}

}  // namespace brenvale
