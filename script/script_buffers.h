#pragma once
// The two process-wide staging buffers of the script functions. Each user
// fills the part it needs within one call; nothing passes between calls.

#include <cstddef>
#include <cstdint>

// The largest block a script function moves in one call.
constexpr uint32_t kScriptDataBufferSize = 0x10000;
// Room for the hex text of a full block and its NUL, so a 64 KiB read, the
// natural block size, still reaches the script.
constexpr uint32_t kScriptTextBufferSize = 2 * kScriptDataBufferSize + 1;

// Hex text on its way to a script.
extern char ScriptTextBuffer[kScriptTextBufferSize];

// Bytes read from the device or a host file, or decoded from a script's hex
// text. Page-aligned so the device's unbuffered reads can land in it as is.
alignas(4096) extern uint8_t ScriptDataBuffer[kScriptDataBufferSize];

// Encodes count bytes into ScriptTextBuffer, its whole size offered, and
// returns the text's length: 0, the empty text, when it does not fit.
uint32_t encode_script_text(const uint8_t* bytes, uint32_t count);
