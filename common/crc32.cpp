#include "crc32.h"

#include <array>

namespace {

constexpr uint32_t kPolynomial = 0xEDB88320u;

std::array<uint32_t, 256> make_crc32_table() {
    std::array<uint32_t, 256> table{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit) c = (c & 1) ? (c >> 1) ^ kPolynomial : c >> 1;
        table[i] = c;
    }
    return table;
}

const std::array<uint32_t, 256> kCrc32Table = make_crc32_table();

inline uint32_t crc32_step(uint32_t c, uint8_t b) { return kCrc32Table[(c ^ b) & 0xFF] ^ (c >> 8); }

// Polynomials modulo the CRC polynomial, held reflected as the register is:
// bit 31 is x^0. a times b, modulo the polynomial.
uint32_t multiply_modulo(uint32_t a, uint32_t b) {
    uint32_t product = 0;
    for (uint32_t bit = 1u << 31; bit != 0; bit >>= 1) {
        if (a & bit) product ^= b;
        b = (b & 1) ? (b >> 1) ^ kPolynomial : b >> 1;
    }
    return product;
}

// x^(2^k) for k = 0..63, modulo the polynomial.
std::array<uint32_t, 64> make_power_table() {
    std::array<uint32_t, 64> powers{};
    uint32_t p = 1u << 30;  // x^1
    for (uint32_t& power : powers) {
        power = p;
        p = multiply_modulo(p, p);
    }
    return powers;
}

const std::array<uint32_t, 64> kPowers = make_power_table();

// x^(8 * count): what count bytes after a part do to that part's CRC.
uint32_t shift_for_bytes(size_t count) {
    uint32_t result = 1u << 31;  // x^0
    for (unsigned k = 3; count != 0; count >>= 1, ++k)
        if (count & 1) result = multiply_modulo(result, kPowers[k]);
    return result;
}

uint32_t crc32_one_part(const uint8_t* data, size_t count) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < count; ++i) c = crc32_step(c, data[i]);
    return c ^ 0xFFFFFFFFu;
}

// Below this the parts would cost more to join than they save.
constexpr size_t kSplitFrom = 4096;
constexpr size_t kParts = 4;

}  // namespace

// Each byte costs one table look-up that must wait for the previous one, so a
// long buffer is taken as four parts whose registers advance side by side;
// the parts' CRCs are then joined: CRC(A B) = CRC(A) x^(8 |B|) + CRC(B).
uint32_t crc32(const uint8_t* data, size_t count) {
    if (count == 0) return 0;
    if (count < kSplitFrom) return crc32_one_part(data, count);
    const size_t part = count / kParts;
    uint32_t c[kParts];
    for (size_t k = 0; k < kParts; ++k) c[k] = 0xFFFFFFFFu;
    for (size_t i = 0; i < part; ++i)
        for (size_t k = 0; k < kParts; ++k) c[k] = crc32_step(c[k], data[k * part + i]);
    // The last part also takes the bytes the division left over.
    for (size_t i = kParts * part; i < count; ++i) c[kParts - 1] = crc32_step(c[kParts - 1], data[i]);
    const uint32_t shift = shift_for_bytes(part);
    const uint32_t last_shift = shift_for_bytes(count - (kParts - 1) * part);
    uint32_t crc = c[0] ^ 0xFFFFFFFFu;
    for (size_t k = 1; k < kParts; ++k)
        crc = multiply_modulo(crc, k + 1 == kParts ? last_shift : shift) ^ (c[k] ^ 0xFFFFFFFFu);
    return crc;
}
