// Image lists made from the glyph bitmaps of glyph_ids.h (and from icon files
// on disk), scaled for a display DPI, white transparent.
#pragma once

#include <windows.h>

#include <string>

#include "unique_handles.h"

namespace dialogs {

// A one-image list of glyph resource id at size px x px (the bitmap is scaled
// when px differs from its own size); empty when the resource is missing.
fav::unique_imagelist glyphImageList(int id, int px);

// Puts glyph id on a push button (left of its caption) at the size the
// button's DPI asks for; the returned list must outlive the button's use.
fav::unique_imagelist setButtonGlyph(HWND button, int id, UINT dpi);

// The glyph lists every open of a dialog asks for again, made once per size
// and kept until releaseSharedGlyphs (at unload): the same resource is
// then decoded once per process, not once per open. Null when the resource
// is missing.
HIMAGELIST sharedGlyphList(int id, int px);
// As setButtonGlyph, from the shared lists; false when there is no glyph.
bool setSharedButtonGlyph(HWND button, int id, UINT dpi);
void releaseSharedGlyphs();

// A picture of px x px made from bmp (any size: scaled to fit keeping its
// proportions, centred on white) ready for ImageList_AddMasked with white.
fav::unique_hbitmap fitBitmap(HBITMAP bmp, int px);

// Loads a .bmp file fitted to px x px; empty when the file cannot be read.
// A px x px picture all in the transparent colour: "no icon" drawn as the
// background it lies on, whatever the colours, DPI or contrast scheme.
fav::unique_hbitmap emptyPicture(int px);

fav::unique_hbitmap loadBitmapFile(const std::wstring& path, int px);

}  // namespace dialogs
