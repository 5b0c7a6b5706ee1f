// Resource and control ids of Numvera.exe.
#pragma once

#define IDR_MAINFRAME 128

#define IDD_MAIN 102
#define IDD_ABOUTBOX 132

#define IDC_ABOUT 1001
#define IDC_CONVERT 1002
#define IDC_DECIMAL_EDIT 1003
#define IDC_BINARY_EDIT 1004
#define IDC_PROGRESS_TEXT 1005
#define IDC_AUTO_RUN 1006
#define IDC_PROGRESS 1007
#define IDC_SHOW_MESSAGES 1008
#define IDC_EXE_PATH 1009
#define IDC_SHOP_LINK 1010
#define IDC_SITE_LINK 1011

#define IDC_STATIC (-1)
