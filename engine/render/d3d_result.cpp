// Result-code texts.
#include "engine/render/d3d_result.h"

#include "engine/core/vorta_log.h"

using namespace platform;

void Log_Result(const char* message, Gpu_Result result)
{
    const char* text;
    switch (result)
    {
    case GPU_OK:
        return;
    case GPU_S_FALSE:
        text = "Alternate success value, indicating a successful but nonstandard completion (the precise "
               "meaning "
               "depends on context).";
        break;
    case GPU_E_NOTIMPL:
        text = "The method call isn't implemented with the passed parameter combination.";
        break;
    case GPU_E_FAIL:
        text = "Attempted to create a device with the debug layer enabled and the layer is not installed.";
        break;
    case GPU_E_OUTOFMEMORY:
        text = "Direct3D could not allocate sufficient memory to complete the call.";
        break;
    case GPU_E_INVALIDARG:
        text = "An invalid parameter was passed to the returning function.";
        break;
    case GPU_D3DERR_WASSTILLDRAWING:
    case GPU_ERROR_WAS_STILL_DRAWING:
        text =
            "(replaced with DXGI_ERROR_WAS_STILL_DRAWING)\tThe previous blit operation that is transferring "
            "information to or from this surface is incomplete.";
        break;
    case GPU_D3DERR_INVALIDCALL:
    case GPU_ERROR_INVALID_CALL:
        text =
            "(replaced with DXGI_ERROR_INVALID_CALL) \tThe method call is invalid. For example, a method's "
            "parameter may not be a valid pointer.";
        break;
    case GPU_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS:
        text = "There are too many unique instances of a particular type of state object.";
        break;
    case GPU_ERROR_FILE_NOT_FOUND:
        text = "The file was not found.";
        break;
    case GPU_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS:
        text = "There are too many unique instances of a particular type of view object.";
        break;
    case GPU_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD:
        text =
            "The first call to ID3D11DeviceContext::Map after either ID3D11Device::CreateDeferredContext or "
            "ID3D11DeviceContext::FinishCommandList per Resource was not D3D11_MAP_WRITE_DISCARD.";
        break;
    default:
        text = "Unknown Error?";
        break;
    }
    Print_Message("ERROR - %s\n%s", message ? message : "", text);
}

const char* Shader_Result_Text(Gpu_Result result)
{
    switch (result)
    {
    case GPU_S_FALSE:
        return "Alternate success value, indicating a successful but nonstandard completion (the precise "
               "meaning "
               "depends on context).\n";
    case GPU_E_NOTIMPL:
        return "The method call isn't implemented with the passed parameter combination.\n";
    case GPU_E_FAIL:
        return "Attempted to create a device with the debug layer enabled and the layer is not installed.\n";
    case GPU_E_OUTOFMEMORY:
        return "Direct3D could not allocate sufficient memory to complete the call.\n";
    case GPU_E_INVALIDARG:
        return "An invalid parameter was passed to the returning function.\n";
    case GPU_D3DERR_WASSTILLDRAWING:
    case GPU_ERROR_WAS_STILL_DRAWING:
        return "(replaced with DXGI_ERROR_WAS_STILL_DRAWING) \tThe previous blit operation that is "
               "transferring "
               "information to or from this surface is incomplete.\n";
    case GPU_D3DERR_INVALIDCALL:
    case GPU_ERROR_INVALID_CALL:
        return "The method call is invalid. For example, a method's parameter may not be a valid pointer.\n";
    case GPU_ERROR_TOO_MANY_UNIQUE_STATE_OBJECTS:
        return "There are too many unique instances of a particular type of state object.\n";
    case GPU_ERROR_FILE_NOT_FOUND:
        return "The file was not found.\n";
    case GPU_ERROR_TOO_MANY_UNIQUE_VIEW_OBJECTS:
        return "There are too many unique instances of a particular type of view object.\n";
    case GPU_ERROR_DEFERRED_CONTEXT_MAP_WITHOUT_INITIAL_DISCARD:
        return "The first call to ID3D11DeviceContext::Map after either ID3D11Device::CreateDeferredContext "
               "or "
               "ID3D11DeviceContext::FinishCommandList per Resource was not D3D11_MAP_WRITE_DISCARD.\n";
    default:
        return "Unknown?\n";
    }
}
