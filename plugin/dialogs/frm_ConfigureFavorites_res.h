// Control, command and menu ids of the Configure Favorites dialog (3000-3999).
// A button and its popup-menu item share the id of the action they run.
#pragma once

#define IDD_CONFIGURE_FAVORITES 3000

// Actions (command ids; the right-column buttons carry the same ids).
#define IDC_ACT_UP 3001
#define IDC_ACT_DOWN 3002
#define IDC_ACT_ADD 3003
#define IDC_ACT_ADD_SEPARATOR 3004
#define IDC_ACT_REMOVE 3005
#define IDC_ACT_CONNECTION_INFO 3006
#define IDC_ACT_SORT_BY_SUBMENU 3007
#define IDC_ACT_LOAD 3008
#define IDC_ACT_RENAME 3009
#define IDC_ACT_ADD_SUBMENU 3010
#define IDC_ACT_UNDO 3011  // Ctrl+Z: undoes the last edit of the lists (no button)
#define IDC_ACT_REDO 3012  // Ctrl+Y: does it again (no button)
#define IDC_ACT_ESCAPE 3013  // Esc: closes the innermost open thing, else the dialog
#define IDC_ACT_EXPORT 3016  // the popup menu's Export...: a list to share
#define IDC_ACT_IMPORT 3017  // the popup menu's Import...: a shared list, or a settings file
#define IDC_ACT_RELINK 3020  // Ctrl+R: Relink Missing... (popup menu only)
// actOk and actCancel are IDOK and IDCANCEL.

// Buttons of the right column.
#define IDC_BBTN_UP IDC_ACT_UP
#define IDC_BBTN_DOWN IDC_ACT_DOWN
#define IDC_BBTN_ADD IDC_ACT_ADD
#define IDC_BBTN_ADD_SEPARATOR IDC_ACT_ADD_SEPARATOR
#define IDC_BBTN_REMOVE IDC_ACT_REMOVE
#define IDC_BBTN_CONNECTION_INFO IDC_ACT_CONNECTION_INFO
#define IDC_BBTN_SORT IDC_ACT_SORT_BY_SUBMENU
#define IDC_BBTN_LOAD IDC_ACT_LOAD
#define IDC_SB_ADD_SUBMENU IDC_ACT_ADD_SUBMENU

// The grid and its in-place editors.
#define IDC_SG_FAVORITES 3020
#define IDC_CBE_ICON 3021
#define IDC_CB_SUBMENU_EDIT 3022  // cbFavoritesStringGridEdit
#define IDC_EDT_ITEM 3023
#define IDC_EDT_FILTER 3025

// The add-submenu strip.
#define IDC_LBL_ADD_SUBMENU 3030
#define IDC_ED_SUBMENU 3031
#define IDC_CBE_MENU_ITEM 3032

// The options panel.
#define IDC_CB_SHOW_FULL_PATH 3040
#define IDC_CB_ALLOW_DUPLICATE_IMAGES 3041
#define IDC_CB_SHOW_CONNECTION_INFO 3042
#define IDC_CB_SHOW_FAVORITES_ON_MAIN_MENU 3043
#define IDC_CB_STORE_PASSWORD 3044
#define IDC_LBL_MAIN_MENU_ITEMS 3045
#define IDC_CBX_MAIN_MENU_ITEMS 3046
#define IDC_LBL_MENU_ITEM_NAME 3047
#define IDC_EDT_MENU_ITEM_NAME 3048
#define IDC_LBL_IMAGE_PATH 3049
#define IDC_EDT_IMAGE_PATH 3050
#define IDC_BBTN_IMAGE_PATH 3051
#define IDC_LBL_IMAGE_PREFIX 3052
#define IDC_EDT_IMAGE_PREFIX 3053
#define IDC_LBL_REPLACE_PATH 3054
#define IDC_EDT_REPLACE_PATH 3055
#define IDC_GB_SUPPRESS_LOGON 3056
#define IDC_CB_SHIFT_DOWN 3057
#define IDC_CB_CTRL_DOWN 3058
#define IDC_CB_ALT_DOWN 3059
#define IDC_LBL_ASK_LOGON_DATABASES 3060
#define IDC_EDT_ASK_LOGON_DATABASES 3061

// The bottom bar.
#define IDC_IMAGE1 3070
#define IDC_PNL_HINT 3071
#define IDC_BBTN_OK IDOK
#define IDC_BBTN_CANCEL IDCANCEL

// The grid's popup menu.
#define IDM_PM_SG_FAVORITES 3900
