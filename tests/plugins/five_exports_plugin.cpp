// A library with only five of the six plug-in exports (no LoadTestEx): the
// loader must leave it out.
#include "zel_picture_plugin.h"

extern "C" {
ZEL_PICTURE_PLUGIN_EXPORT void PreparePlugin(void) {}
ZEL_PICTURE_PLUGIN_EXPORT void UnPreparePlugin(void) {}
ZEL_PICTURE_PLUGIN_EXPORT const char* GetFileExtentions(void) { return "five:Five exports"; }
ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 FileNameNotify(const char*) { return 1; }
ZEL_PICTURE_PLUGIN_EXPORT void DrawBitmap(ZelBitmap**, ZelHostStream*) {}
}
