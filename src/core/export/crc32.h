// CRC-32 of ISO 3309 (the ZIP and PNG checksum): reflected polynomial 0xEDB88320,
// register preset to all ones and complemented at the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velquist {

std::uint32_t Crc32(std::string_view bytes);

// Continues a running CRC: Crc32Update(Crc32Update(0, a), b) == Crc32(a + b).
std::uint32_t Crc32Update(std::uint32_t crc, std::string_view bytes);

// The CRC of a + b from the CRCs of a and b and the length of b, so that parts of one
// text can be summed up apart (and at once) and joined.
std::uint32_t Crc32Combine(std::uint32_t crcA, std::uint32_t crcB, std::uint64_t lengthB);

}  // namespace velquist
