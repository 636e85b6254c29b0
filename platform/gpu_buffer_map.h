// Write-discard mapping of a dynamic GPU buffer straight into its own storage: the caller writes the new
// contents in place, with no copy of its own, and unmaps before anything draws from the buffer. Sprite
// batches write their quads this way.
#pragma once
#include "platform/gpu_device.h"

namespace platform
{
// A CPU pointer to the whole buffer; the previous contents are gone. Null when it cannot be mapped.
void* Map_Buffer_In_Place(const Gpu_Buffer* buffer);
// Ends a mapping made by Map_Buffer_In_Place.
void Unmap_Buffer_In_Place(const Gpu_Buffer* buffer);
} // namespace platform
