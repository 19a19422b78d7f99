#pragma once

// Identifiers of the Windows front end's resources. The control identifiers are those of
// ../logic/ControlId.h; the resource compiler reads plain numbers.
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_IPEDIT_DIALOG 102
#define IDS_SOCKETS_INIT_FAILED 103
#define IDR_MAINFRAME 128
#define IDD_ASSIGN_DIALOG 129
#define IDR_MANIFEST 1

#define IDC_ABOUT_ICON 1101
#define IDC_ABOUT_VERSION 1102
#define IDC_ABOUT_NOTICE 1103

// The system menu's about entry.
#define IDM_ABOUTBOX 0x0010
// The context menu's "Export list..." entry.
#define IDM_EXPORTLIST 40001
