#include "script_buffers.h"

char ScriptTextBuffer[kScriptTextBufferSize];
alignas(4096) uint8_t ScriptDataBuffer[kScriptDataBufferSize];
