// Resource and control ids of the Connection Info dialog (5000-5999).
#pragma once

#define IDD_CONNECTION_INFO 5000

#define IDC_CI_LBL_USERNAME 5001
#define IDC_CI_USERNAME 5002        // edtUsername
#define IDC_CI_LBL_PASSWORD 5003
#define IDC_CI_PASSWORD 5004        // edtPassword
#define IDC_CI_SHOW_PASSWORD 5005   // sbShowPassword
#define IDC_CI_LBL_DATABASE 5006
#define IDC_CI_DATABASE 5007        // edtDatabase
#define IDC_CI_LBL_CONNECT_AS 5008
#define IDC_CI_CONNECT_AS 5009      // cbxConnectAs
#define IDC_CI_BEVEL1 5010          // Bevel1
#define IDC_CI_LBL_ALIAS 5011
#define IDC_CI_ALIAS 5012           // edtAlias
#define IDC_CI_PASSWORD_NOTE 5013   // "Store password" is off
#define IDC_CI_CAPS_LOCK 5014       // Caps Lock warning
#define IDC_CI_ASK_LOGON 5015       // cbAskLogon
// bbtnOk and bbtnCancel are IDOK and IDCANCEL.
