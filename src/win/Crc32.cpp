#include "win/Crc32.h"

#include "win/LaterCalls.h"

#include <windows.h>
#include <zlib.h>

#include <cpuid.h>
#include <emmintrin.h>
#include <wmmintrin.h>

namespace win {

namespace {

// Where the processor multiplies without carries, the CRC folds 64 bytes at a time
// through four 128-bit lanes: on this kind of machine about two and a half times the
// speed of zlib's table loop, which made the CRC the larger half of checking a large
// copy. The constants are powers of x modulo the CRC's polynomial (bit-reflected):
// x^(4*128+32) and x^(4*128-32) to fold by 64 bytes, x^(128+32) and x^(128-32) by 16,
// x^64 for the last 64 bits, and the polynomial with its Barrett quotient.
#define QUILLMARK_FOLD_TARGET __attribute__((target("pclmul,sse2")))

QUILLMARK_FOLD_TARGET inline __m128i Load(const unsigned char* p)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}

QUILLMARK_FOLD_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i next)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

// The CRC register after n bytes at p; n is at least 64 and a multiple of 16. A 32-bit
// Windows keeps the stack aligned to 4 bytes only, and the lanes spill 16-byte values:
// the stack is aligned on entry.
QUILLMARK_FOLD_TARGET __attribute__((force_align_arg_pointer)) std::uint32_t
FoldedCrc(std::uint32_t reg, const unsigned char* p, std::size_t n)
{
    const __m128i by64 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i by16 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    const __m128i last64 = _mm_set_epi64x(0, 0x163cd6124);
    const __m128i poly = _mm_set_epi64x(0x1f7011641, 0x1db710641);
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);

    __m128i x1 = _mm_xor_si128(Load(p), _mm_cvtsi32_si128(static_cast<int>(reg)));
    __m128i x2 = Load(p + 16), x3 = Load(p + 32), x4 = Load(p + 48);
    for (p += 64, n -= 64; n >= 64; p += 64, n -= 64) {
        x1 = Fold(x1, by64, Load(p));
        x2 = Fold(x2, by64, Load(p + 16));
        x3 = Fold(x3, by64, Load(p + 32));
        x4 = Fold(x4, by64, Load(p + 48));
    }
    x1 = Fold(x1, by16, x2);
    x1 = Fold(x1, by16, x3);
    x1 = Fold(x1, by16, x4);
    for (; n >= 16; p += 16, n -= 16) x1 = Fold(x1, by16, Load(p));

    // 128 bits to 64, with the 32 zero bits the CRC appends; then 64 to 32.
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, by16, 0x10));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), last64, 0x00));
    // Barrett reduction to the 32-bit remainder.
    __m128i t = _mm_and_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10), low32);
    x1 = _mm_xor_si128(x1, _mm_clmulepi64_si128(t, poly, 0x00));
    return static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(x1, 4)));
}

// The processor must have the instructions, and the system must keep the SSE registers
// across task switches. A 32-bit system that does reports SSE2 as present; Windows 95
// lacks the call or does not know the feature, and the table loop serves there.
bool FoldingAvailable()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_PCLMUL) || !(d & bit_SSE2)) return false;
    if constexpr (sizeof(void*) == 8) return true;
    using Present = BOOL(WINAPI*)(DWORD);
    const auto present = LaterCall<Present>("kernel32.dll", "IsProcessorFeaturePresent");
    return present && present(PF_XMMI64_INSTRUCTIONS_AVAILABLE);
}

// Below this the table loop is as fast, and the folding needs 64 bytes to start.
constexpr std::size_t kFoldFrom = 256;

std::uint32_t TableCrc32(std::uint32_t crc, const void* data, std::size_t size) noexcept
{
    return static_cast<std::uint32_t>(crc32_z(crc, static_cast<const Bytef*>(data), size));
}

} // namespace

std::uint32_t UpdateCrc32(std::uint32_t crc, const void* data, std::size_t size) noexcept
{
    static const bool folding = FoldingAvailable();
    if (!folding || size < kFoldFrom) return TableCrc32(crc, data, size);
    const auto* p = static_cast<const unsigned char*>(data);
    const std::size_t folded = size & ~std::size_t{15};
    // zlib's CRC is the register inverted on the way in and out.
    crc = ~FoldedCrc(~crc, p, folded);
    return TableCrc32(crc, p + folded, size - folded);
}

} // namespace win
