#include "script_buffers.h"

#include "hex_codec.h"

char ScriptTextBuffer[kScriptTextBufferSize];
alignas(4096) uint8_t ScriptDataBuffer[kScriptDataBufferSize];

uint32_t encode_script_text(const uint8_t* bytes, uint32_t count) {
    uint32_t text_length = kScriptTextBufferSize;
    hex_encode(bytes, count, ScriptTextBuffer, &text_length);
    return text_length;
}
