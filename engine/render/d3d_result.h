// Log lines for GPU result codes: the device's "ERROR - <message>" lines and the shader loader's texts.
#pragma once
#include "platform/gpu_types.h"

// Writes "ERROR - <message>\n" followed by the text for the code as one log line; nothing for success.
void Log_Result(const char* message, platform::Gpu_Result result);
// The shader loader's text for a result code, with its line end.
const char* Shader_Result_Text(platform::Gpu_Result result);
