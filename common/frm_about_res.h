// Resource and control ids of the About dialog (6000-6999).
#pragma once

#define IDD_ABOUT 6000

#define IDC_PNLBUTTONS 6001
#define IDC_BBTNINFO 6002
// bbtnClose is IDOK, so Enter and the dialog manager treat it as the default.
#define IDC_BBTNCLOSE 1
#define IDC_PCABOUTSETTINGS 6004
#define IDC_TSABOUT 6005
#define IDC_PNLABOUT 6006
#define IDC_IMGABOUT 6007
#define IDC_PNLABOUTTEXT 6008
#define IDC_LBLABOUTTEXT1 6009
#define IDC_LBLABOUTTEXT2 6010
#define IDC_LBLABOUTTEXT3 6011
#define IDC_PNLABOUTSCROLL 6012
#define IDC_SBABOUT 6013
#define IDC_MMABOUT 6014
#define IDC_TSSETTINGS 6015
#define IDC_FRASETTINGS 6016
#define IDC_COPYVERSION 6020  // command only: Ctrl+C

// The picture (120 x 90 at 96 DPI) and the button glyphs (20 x 20), each at
// 1x, 1.5x and 2x; pure white is transparent.
#define IDB_ABOUT_PICTURE_1X 6100
#define IDB_ABOUT_PICTURE_15X 6101
#define IDB_ABOUT_PICTURE_2X 6102
#define IDB_ABOUT_INFO_1X 6110
#define IDB_ABOUT_INFO_15X 6111
#define IDB_ABOUT_INFO_2X 6112
#define IDB_ABOUT_CLOSE_1X 6120
#define IDB_ABOUT_CLOSE_15X 6121
#define IDB_ABOUT_CLOSE_2X 6122
