// Resource ids of the button glyphs the plug-in's dialogs share (bitmaps in
// resources/glyphs/, linked in by glyphs.rc). 20 x 20, white is transparent.
#pragma once

#define IDB_GLYPH_UP 7001
#define IDB_GLYPH_DOWN 7002
#define IDB_GLYPH_ADD 7003
#define IDB_GLYPH_SEPARATOR 7004
#define IDB_GLYPH_REMOVE 7005
#define IDB_GLYPH_CONNECTION 7006
#define IDB_GLYPH_SORT 7007
#define IDB_GLYPH_LOAD 7008
#define IDB_GLYPH_OK 7009
#define IDB_GLYPH_CANCEL 7010
#define IDB_GLYPH_FOLDER 7011
#define IDB_GLYPH_ADD_SUBMENU 7012
#define IDB_GLYPH_SHOW_PASSWORD 7013
#define IDB_PLUGIN_ICON 7014  // 32 x 32, bottom bar of the dialogs
