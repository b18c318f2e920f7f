// Where everything lies in the two compiled forms of a configuration.
//
// The configuration image is what a converter with Ethernet port receives: one block of 65280
// bytes written to its flash at device address 0x58C00, ten sections without gaps:
//
//   section                     offset   device addr  records x size
//   receive frame table         0x00000  0x58C00      256 x 16
//   transmit frame table        0x01000  0x59C00      256 x 12
//   SDO read table              0x01C00  0x5A800     1536 x 16
//   SDO write table             0x07C00  0x60800     1536 x 20
//   settings block              0x0F400  0x68000        1 x 2048
//   TPDO table                  0x0FC00  0x68800       16 x 16
//   RPDO table                  0x0FD00  0x68900       16 x 8
//   node-guarding table         0x0FD80  0x68980       32 x 4
//   node-guarding frame table   0x0FE00  0x68A00        8 x 16
//   SDO client frame table      0x0FE80  0x68A80        8 x 16
//
// The bank image is what the firmware file of a converter without Ethernet port carries: five
// banks of 16384 bytes, of which banks 1 and 2 hold data. Its capacities are the rows that fit
// before the next region of the same bank.
#pragma once

#include <cstddef>
#include <cstdint>

namespace brenvale::layout {

// ---- configuration image ----
inline constexpr std::size_t kImageSize = 65280;
inline constexpr std::uint32_t kImageDeviceAddress = 0x58C00;

struct Section {
  std::size_t offset;
  std::size_t records;
  std::size_t record_size;
  constexpr std::size_t end() const { return offset + records * record_size; }
  constexpr std::uint32_t device_address() const { return kImageDeviceAddress + static_cast<std::uint32_t>(offset); }
  constexpr std::size_t record(std::size_t index) const { return offset + index * record_size; }
};

inline constexpr Section kReceiveFrames{0x00000, 256, 16};
inline constexpr Section kTransmitFrames{0x01000, 256, 12};
inline constexpr Section kSdoRead{0x01C00, 1536, 16};
inline constexpr Section kSdoWrite{0x07C00, 1536, 20};
inline constexpr Section kSettings{0x0F400, 1, 2048};
inline constexpr Section kTpdos{0x0FC00, 16, 16};
inline constexpr Section kRpdos{0x0FD00, 16, 8};
inline constexpr Section kNodeGuard{0x0FD80, 32, 4};
inline constexpr Section kNodeGuardFrames{0x0FE00, 8, 16};
inline constexpr Section kSdoClientFrames{0x0FE80, 8, 16};

static_assert(kReceiveFrames.end() == kTransmitFrames.offset);
static_assert(kTransmitFrames.end() == kSdoRead.offset);
static_assert(kSdoRead.end() == kSdoWrite.offset);
static_assert(kSdoWrite.end() == kSettings.offset);
static_assert(kSettings.end() == kTpdos.offset);
static_assert(kTpdos.end() == kRpdos.offset);
static_assert(kRpdos.end() == kNodeGuard.offset);
static_assert(kNodeGuard.end() == kNodeGuardFrames.offset);
static_assert(kNodeGuardFrames.end() == kSdoClientFrames.offset);
static_assert(kSdoClientFrames.end() == kImageSize);

// The node-guarding and SDO client frame tables use their first five records.
inline constexpr std::size_t kFrameSetRows = 5;

// ---- bank image ----
inline constexpr std::size_t kBankSize = 16384;
inline constexpr int kBankCount = 5;

// A list of fixed-size rows in a bank: `capacity` rows fit before `limit`.
struct BankRegion {
  std::size_t offset;
  std::size_t row_size;
  std::size_t limit;
  constexpr std::size_t capacity() const { return (limit - offset) / row_size; }
  constexpr std::size_t row(std::size_t index) const { return offset + index * row_size; }
};

// Bank 1
inline constexpr BankRegion kReceiveRows{0, 6, 1000};
inline constexpr BankRegion kSdoReadRows{1000, 9, 4096};
inline constexpr std::size_t kReservedOffset = 4096;
inline constexpr std::size_t kReservedSize = 256;
inline constexpr BankRegion kRpdoRows{15500, 5, 15600};
inline constexpr BankRegion kTpdoRows{15600, 5, 15700};
inline constexpr BankRegion kNodeGuardRows{15700, 4, 15850};
inline constexpr BankRegion kNodeGuardFrameWords{15850, 4, 15900};
inline constexpr std::size_t kCommSettingsOffset = 16000;
inline constexpr std::size_t kDeleteBitmapOffset = 16100;
inline constexpr std::size_t kDeleteBitmapSize = 32;
inline constexpr BankRegion kSdoClientFrameWords{16200, 4, 16300};
// Bank 2
inline constexpr BankRegion kTransmitWords{0, 4, 1000};
inline constexpr BankRegion kSdoWriteRows{1000, 10, kBankSize};

static_assert(kReceiveRows.capacity() == 166);
static_assert(kTransmitWords.capacity() == 250);
static_assert(kSdoReadRows.capacity() == 344);
static_assert(kSdoWriteRows.capacity() == 1538);
static_assert(kRpdoRows.capacity() == 20);
static_assert(kTpdoRows.capacity() == 20);
static_assert(kNodeGuardRows.capacity() == 37);
static_assert(kNodeGuardFrameWords.capacity() == 12);
static_assert(kSdoClientFrameWords.capacity() == 25);
// The delete bitmap has a bit for every receive row the bank can hold.
static_assert(kDeleteBitmapSize * 8 >= kReceiveRows.capacity());

}  // namespace brenvale::layout
