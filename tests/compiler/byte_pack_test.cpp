#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "compiler/byte_pack.h"

namespace brenvale {
namespace {

TEST(BytePacking, LittleEndianUnalignedAndTruncatedToTheField) {
  std::array<std::uint8_t, 12> buf{};
  put_u16le(buf, 1, 0x12345);      // odd offset; the 0x1 above 16 bits is dropped
  put_u32le(buf, 3, 0xA1B2C3D4);
  put_u8(buf, 7, 0x1FF);
  put_u32le(buf, 8, static_cast<std::uint32_t>(-2));
  const std::array<std::uint8_t, 12> expected{0x00, 0x45, 0x23, 0xD4, 0xC3, 0xB2, 0xA1, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(buf, expected);
  EXPECT_EQ(get_u16le(buf, 1), 0x2345u);
  EXPECT_EQ(get_u32le(buf, 3), 0xA1B2C3D4u);
}

TEST(BytePacking, J1939IdentifierWord) {
  struct Case {
    std::int32_t priority, data_page, pgn, address;
    std::uint32_t word;
  };
  const Case cases[] = {
      {3, 0, 61444, 0, 0x0CF00400},   // EEC1 from the engine
      {6, 0, 65262, 0, 0x18FEEE00},   // ET1
      {0, 1, 65262, 3, 0x01FEEE03},   // data page without priority
      {7, 1, 65535, 255, 0x1DFFFFFF},
      {0, 0, 131071, 0, 0x01FFFF00},  // a PGN above 16 bits runs into the data page bit, unmasked
      {8, 0, 0, 0, 0x20000000},       // out-of-range priority is not masked either
      {0, 0, -1, 0, 0xFFFFFF00},      // 32-bit arithmetic
  };
  for (const Case& c : cases) {
    EXPECT_EQ(j1939_identifier(c.priority, c.data_page, c.pgn, c.address), c.word)
        << c.priority << " " << c.data_page << " " << c.pgn << " " << c.address;
  }
}

TEST(BytePackingDeathTest, AWriteOutsideTheBufferStopsTheProgram) {
  std::vector<std::uint8_t> buf(4);
  EXPECT_DEATH(put_u32le(buf, 1, 0), "");
  EXPECT_DEATH(fill_bytes(buf, 2, 3, 0xFF), "");
}

}  // namespace
}  // namespace brenvale
