// A plug-in whose PreparePlugin throws: the loader must leave it out.
#include <stdexcept>

#include "zel_picture_plugin.h"

extern "C" {
ZEL_PICTURE_PLUGIN_EXPORT void PreparePlugin(void) { throw std::runtime_error("cannot prepare"); }
ZEL_PICTURE_PLUGIN_EXPORT void UnPreparePlugin(void) {}
ZEL_PICTURE_PLUGIN_EXPORT const char* GetFileExtentions(void) { return "thr:Thrown"; }
ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 FileNameNotify(const char*) { return 1; }
ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 LoadTestEx(const uint8_t*, int32_t*, int32_t*, uint8_t*) { return 1; }
ZEL_PICTURE_PLUGIN_EXPORT void DrawBitmap(ZelBitmap**, ZelHostStream*) {}
}
