// The CRC-32 of zip and PNG, which the read-back check sums every copied byte with.
#pragma once

#include <cstddef>
#include <cstdint>

namespace win {

// Continues crc over data.
std::uint32_t UpdateCrc32(std::uint32_t crc, const void* data, std::size_t size) noexcept;

} // namespace win
