#pragma once

#define IDR_PAYLOAD 129
#define IDI_SETUP 128
#define IDD_SETUP 102

#define IDC_DIR_EDIT 1001
#define IDC_STATUS_TEXT 1002
#define IDC_DIR_LABEL 1003
