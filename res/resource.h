#pragma once
// Resource identifiers shared by the resource script and the code.

#define IDR_MAINFRAME_ICON 128

#define IDD_JUMP 102
#define IDC_INPUT 1000

// Controls the code never looks up.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

#define IDD_VERSION 100
#define IDS_VERSION_MENU 101
#define IDC_HOMEPAGE_LINK 1001
#define IDC_VERSION_TEXT 1002
#define IDC_COPYRIGHT_TEXT 1003
// A system-menu command: the low four bits belong to the system.
#define IDM_VERSION 0x0010
