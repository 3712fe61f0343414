/*
 * Deskloom picture plug-in interface.
 *
 * A picture plug-in is a shared object (*.so) in the program folder that
 * decodes picture formats the program does not read itself. It exports the
 * six functions below with C linkage, under exactly these names. Text
 * crosses as NUL-terminated UTF-8. Boolean answers are 32-bit values whose
 * low byte is the answer (0 = no).
 *
 * Order of calls: PreparePlugin once after the library is loaded, then
 * GetFileExtentions once; then any number of FileNameNotify, LoadTestEx and
 * DrawBitmap calls, never two at a time; UnPreparePlugin once before the
 * library is unloaded. Errors must not leave the plug-in as exceptions; the
 * host treats one that does as a refusal.
 */
#ifndef ZEL_PICTURE_PLUGIN_H
#define ZEL_PICTURE_PLUGIN_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t ZelBool32;

/* A bitmap the host allocated for the plug-in; opaque to the plug-in. */
typedef struct ZelBitmap ZelBitmap;

/* Where the rows of a host bitmap are: 24 bits per pixel, bytes blue,
 * green, red; row y (0 at the top) starts at bits + y * bytes_per_line. */
typedef struct ZelBitmapRows {
  int32_t width;
  int32_t height;
  int32_t bytes_per_line;
  uint8_t* bits;
} ZelBitmapRows;

/* Origins for ZelHostStream.seek, as for fseek. */
enum { ZEL_SEEK_SET = 0, ZEL_SEEK_CUR = 1, ZEL_SEEK_END = 2 };

/* The picture data, handed to DrawBitmap positioned at its start. Valid
 * only during that call. */
typedef struct ZelHostStream {
  uint32_t struct_size; /* sizeof(ZelHostStream) as the host knows it */
  void* host;           /* the host's own, not to be touched */
  /* Reads up to count bytes; answers the number read, -1 on error. */
  int64_t (*read)(struct ZelHostStream* stream, void* buffer, int64_t count);
  /* Moves the position; answers the new position, -1 on error. */
  int64_t (*seek)(struct ZelHostStream* stream, int64_t offset, int32_t origin);
  /* The size of the data in bytes. */
  int64_t (*size)(struct ZelHostStream* stream);
  /* Allocates a 24-bit bitmap of the given size and describes its rows in
   * *rows. Answers NULL (and leaves *rows zeroed) when the size is not
   * positive or too large: a plug-in asks before it decodes, so that a
   * picture too large to show costs nothing. Bitmaps the plug-in does not
   * deliver are freed by the host after DrawBitmap returns. */
  ZelBitmap* (*new_bitmap)(struct ZelHostStream* stream, int32_t width, int32_t height,
                           ZelBitmapRows* rows);
} ZelHostStream;

#if defined(__GNUC__)
#define ZEL_PICTURE_PLUGIN_EXPORT __attribute__((visibility("default")))
#else
#define ZEL_PICTURE_PLUGIN_EXPORT
#endif

/* Called once right after the library was loaded and all six exports were
 * found. */
ZEL_PICTURE_PLUGIN_EXPORT void PreparePlugin(void);
/* Called once before the library is unloaded. */
ZEL_PICTURE_PLUGIN_EXPORT void UnPreparePlugin(void);
/* The extensions the plug-in reads, as comma text: items separated by
 * commas or blanks, double quotes group (an item with a blank is quoted).
 * Each item is "ext:Description" or a bare extension, without the dot. The
 * text stays the plug-in's; the host copies it at once. */
ZEL_PICTURE_PLUGIN_EXPORT const char* GetFileExtentions(void);
/* Whether the plug-in will read the file of this name. The name is the
 * host's and stays valid until the next FileNameNotify call to any
 * plug-in. */
ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 FileNameNotify(const char* file_name);
/* Whether the plug-in recognises the data. buffer holds *size bytes from
 * position *offset of the stream (first 8 bytes at 0). To see another
 * window of the data, answer 0, set *offset and *size and leave
 * *continue_test non-zero; the host calls again with that window, or stops
 * when the data ends before it. The buffer is valid only during the
 * call. */
ZEL_PICTURE_PLUGIN_EXPORT ZelBool32 LoadTestEx(const uint8_t* buffer, int32_t* offset, int32_t* size,
                                               uint8_t* continue_test);
/* Decodes the stream: allocate the bitmap through stream->new_bitmap, fill
 * its rows and store it in *bitmap. Leaving *bitmap NULL delivers
 * nothing. */
ZEL_PICTURE_PLUGIN_EXPORT void DrawBitmap(ZelBitmap** bitmap, ZelHostStream* stream);

typedef void (*ZelPreparePluginFn)(void);
typedef void (*ZelUnPreparePluginFn)(void);
typedef const char* (*ZelGetFileExtentionsFn)(void);
typedef ZelBool32 (*ZelFileNameNotifyFn)(const char* file_name);
typedef ZelBool32 (*ZelLoadTestExFn)(const uint8_t* buffer, int32_t* offset, int32_t* size,
                                     uint8_t* continue_test);
typedef void (*ZelDrawBitmapFn)(ZelBitmap** bitmap, ZelHostStream* stream);

#ifdef __cplusplus
}
#endif

#endif /* ZEL_PICTURE_PLUGIN_H */
