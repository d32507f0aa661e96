#include "settings_layout.h"

#include <cstdio>

namespace settings {

bool HasSourceSignature(const SettingsHeader& header) {
    for (size_t i = 0; i < kSignatureSize; i++) {
        if (header.bytes[kSignatureOffset + i] != kSourceSignature[i]) {
            return false;
        }
    }
    return true;
}

bool IsConvertibleSource(const SettingsHeader& header, uint64_t size) {
    return size >= kMinSourceSize && HasSourceSignature(header);
}

SettingsHeader MakeTargetHeader(const SettingsHeader& sourceHeader) {
    SettingsHeader target = sourceHeader;
    target.bytes[kLayoutByteOffset] = kTargetLayoutByte;
    return target;
}

std::string MakeOutputFileName(uint16_t year, uint16_t month, uint16_t day, uint16_t hour,
                               uint16_t minute, uint16_t second, uint16_t millisecond) {
    // Wide enough for the largest 16-bit values in every field.
    char stamp[64];
    snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d_%02d.%02d.%02d.%03d.BIN", year, month, day,
             hour, minute, second, millisecond);
    return std::string(kOutputNamePrefix) + stamp;
}

}  // namespace settings
