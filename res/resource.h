// Resource identifiers shared by korvanel.rc and the code. Plain #defines:
// windres reads this file too.
#pragma once

#define IDM_ABOUTBOX 0x0010
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_KORVANEL_DIALOG 102
#define IDR_MAINFRAME 128
#define IDI_ALERT 219
#define IDC_STATIC_HEADING 220
#define IDC_EDIT_INFO 221
#define IDC_EDIT_TITLE 222
#define IDC_STATIC_LINE 223
#define IDC_STATIC_LINK 224
#define IDC_BUTTON_CLOSE 225
#define IDC_BUTTON_PRE 226
#define IDC_BUTTON_NE 227
#define IDC_STATIC_PAGE 228
#define IDD_INFORMATION_DLG 310
#define IDB_CLOSE 311
#define IDB_CLOSE_SEL 313
#define IDB_PRE 314
#define IDB_PRE_SEL 315
#define IDB_NE 316
#define IDB_NE_SEL 317
// Not IDC_HAND: winuser.h already uses that name for the system cursor.
#define IDC_CURSOR_LINK 318
