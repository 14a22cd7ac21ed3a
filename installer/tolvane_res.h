// Resource and control ids of tolvane.exe, shared by the resource script, the
// window and the tests that drive it.
#pragma once

// Resources
#define IDI_TOLVANE 1
#define IDB_SPLASH 101
#define IDB_SPLASH_2X 102
#define IDB_FOLDER_16 110
#define IDB_FOLDER_24 111
#define IDB_FOLDER_32 112
#define IDB_FOLDER_48 113
#define IDA_TOLVANE 120

// Controls of TfrmTolvane, in the order of its control table
#define IDC_IMG_ICON 1001
#define IDC_LBL_COPYRIGHT 1002
#define IDC_LBL_WELCOME 1003
#define IDC_LBL_ABOUTTOINSTALL 1004
#define IDC_LBL_PLUGINNAME 1005
#define IDC_LBL_LOCATION 1006
#define IDC_EDT_LOCATION 1007
#define IDC_BBTN_FOLDER 1008
#define IDC_LBL_NOWINSTALLING 1009
#define IDC_LBL_NOWINSTALLINGFILENAME 1010
#define IDC_PB_WIZARD 1011
#define IDC_LBL_SUCCESSMESSAGE 1012
#define IDC_LBL_VERSION 1013
#define IDC_LBL_FAILUREREASON 1014

// Keyboard commands: Enter acts as the next zone, Escape as the close cross
#define IDM_NEXT_ZONE 2001
#define IDM_CLOSE_ZONE 2002
