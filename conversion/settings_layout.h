// The two layouts of a settings file and the name of a converted copy.
//
// Source layout (signature 2C 01 00 00), N bytes, N >= 8026:
//   [0, 16)          header
//   [16, 8026)       leading block of the body
//   [8026, N)        trailing block, may be empty
// Target layout (signature 2C 05 00 00), N + 24760 bytes:
//   [0, 16)          the source header with byte 7 set to 0x05
//   [16, 8026)       the source's leading block
//   [8026, 32786)    inserted block, all 0x00
//   [32786, N+24760) the source's trailing block
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace settings {

constexpr size_t kHeaderSize = 16;
constexpr size_t kLeadingBlockSize = 8010;
constexpr size_t kInsertedBlockSize = 24760;
constexpr size_t kSplitOffset = kHeaderSize + kLeadingBlockSize;  // 8026
constexpr uint64_t kMinSourceSize = kSplitOffset;

constexpr size_t kSignatureOffset = 6;
constexpr size_t kSignatureSize = 4;
constexpr unsigned char kSourceSignature[kSignatureSize] = {0x2C, 0x01, 0x00, 0x00};
// Only byte 7 tells the layouts apart; the other three signature bytes are shared.
constexpr size_t kLayoutByteOffset = 7;
constexpr unsigned char kTargetLayoutByte = 0x05;

constexpr const char* kOutputNamePrefix = "Settings_2C050000_";

struct SettingsHeader {
    unsigned char bytes[kHeaderSize];
};

// True when the 16 bytes carry the source signature 2C 01 00 00 at offsets 6..9,
// compared one byte at a time.
bool HasSourceSignature(const SettingsHeader& header);

// True when a file of `size` bytes starting with `header` can be converted.
bool IsConvertibleSource(const SettingsHeader& header, uint64_t size);

// The header of the converted file: the source header with byte 7 set to 0x05.
SettingsHeader MakeTargetHeader(const SettingsHeader& sourceHeader);

// "Settings_2C050000_YYYY-MM-DD_hh.mm.ss.mmm.BIN", every field zero-padded.
std::string MakeOutputFileName(uint16_t year, uint16_t month, uint16_t day, uint16_t hour,
                               uint16_t minute, uint16_t second, uint16_t millisecond);

}  // namespace settings
