// Resource, control and command ids of the Submenus dialog (4000-4999).
#pragma once

#define IDD_SUBMENUS 4000

#define IDC_SM_GRID 4001            // sgFavorites (made at run time)
#define IDC_SM_CBE_ICON 4002        // cbeIcon, the in-place icon editor
#define IDC_SM_EDT_ITEM 4003        // edtItem, the in-place rename editor
#define IDC_SM_LBL_ADD_SUBMENU 4004
#define IDC_SM_ED_SUBMENU 4005      // edSubMenu
#define IDC_SM_CBE_MENU_ITEM 4006   // cbeMenuItem
#define IDC_SM_ACT_ADD_SUBMENU 4007 // sbAddSubmenu runs actAddSubmenu
#define IDC_SM_IMAGE1 4008
#define IDC_SM_PNL_HINT 4009        // pnlHint
#define IDC_SM_ACT_RENAME 4010      // actRename (popup menu, F2)
#define IDC_SM_ACT_REMOVE 4011      // actRemove (popup menu, Delete)
#define IDC_SM_ACT_UNDO 4012        // Ctrl+Z: the last removal back
// bbtnOk and bbtnCancel are IDOK and IDCANCEL.
