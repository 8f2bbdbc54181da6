// The hex codec that carries byte blocks across the script boundary: every
// block survives encode then decode, buffers are filled to their capacity
// and never past it, and decoding any text agrees with a plain reading of
// its rules.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "hex_codec.h"

namespace {

int digit_value(unsigned char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Digits pair up in order, everything else is skipped, a lone last digit is
// dropped, and no more than capacity bytes come out.
std::vector<uint8_t> plain_decode(const char* text, uint32_t capacity) {
    std::vector<uint8_t> out;
    int high = -1;
    for (const char* p = text; *p != '\0' && out.size() < capacity; ++p) {
        const int digit = digit_value(static_cast<unsigned char>(*p));
        if (digit < 0) continue;
        if (high < 0) {
            high = digit;
        } else {
            out.push_back(static_cast<uint8_t>(high * 16 + digit));
            high = -1;
        }
    }
    return out;
}

// Buffers sized exactly, so the sanitizer sees any byte written past them;
// never empty, so a zero capacity still hands over a real pointer.
std::vector<char> text_buffer(uint32_t size) { return std::vector<char>(size == 0 ? 1 : size, '#'); }

void check_round_trip(const uint8_t* bytes, uint32_t count, uint32_t spare) {
    // Too small by one, exactly enough, and a little more.
    const uint32_t needed = 2 * count + 1;
    for (const uint32_t capacity : {needed - 1, needed, needed + spare}) {
        std::vector<char> text = text_buffer(capacity);
        uint32_t length = capacity;
        const int ok = hex_encode(bytes, count, text.data(), &length);
        if (capacity < needed) {
            require(ok == 0 && length == 0, "a short text buffer fails the encode");
            for (char c : text) require(c == '#', "a failed encode writes nothing");
            continue;
        }
        require(ok == 1 && length == 2 * count, "encode writes two digits per byte");
        require(text[2 * count] == '\0', "encoded text ends in its zero byte");
        for (uint32_t i = needed; i < capacity; ++i)
            require(text[i] == '#', "encode writes nothing past the text and its zero byte");
        for (uint32_t i = 0; i < 2 * count; ++i) {
            const char c = text[i];
            require((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'), "digits are upper-case hex");
        }

        std::vector<uint8_t> back(count == 0 ? 1 : count);
        uint32_t decoded = count;
        require(hex_decode(text.data(), back.data(), &decoded) == 1, "decode of encoded text succeeds");
        require(decoded == count && (count == 0 || std::memcmp(back.data(), bytes, count) == 0),
                "round trip keeps every byte");
    }
}

void check_decode(const std::string& text, uint32_t capacity) {
    std::vector<uint8_t> out(capacity == 0 ? 1 : capacity, 0xEE);
    uint32_t count = capacity;
    require(hex_decode(text.c_str(), out.data(), &count) == 1, "decode succeeds");
    const std::vector<uint8_t> expected = plain_decode(text.c_str(), capacity);
    require(count == expected.size(), "decoded count");
    require(count == 0 || std::memcmp(out.data(), expected.data(), count) == 0, "decoded bytes");
    for (uint32_t i = count; i < capacity; ++i) require(out[i] == 0xEE, "decode writes only what it counts");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the spare room and the decode capacity.
    const uint32_t spare = data[0] % 8;
    const uint32_t capacity = data[1];
    const uint8_t* rest = data + 2;
    const uint32_t count = static_cast<uint32_t>(size - 2);

    check_round_trip(rest, count, spare);
    check_decode(std::string(reinterpret_cast<const char*>(rest), count), capacity);
    return 0;
}
