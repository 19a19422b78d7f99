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

// The controls of the assign dialog, IDD_ASSIGN_DIALOG.
#define IDC_ASSIGN_FIRST_LABEL 1201
#define IDC_ASSIGN_FIRST 1202
#define IDC_ASSIGN_NETMASK_LABEL 1203
#define IDC_ASSIGN_NETMASK 1204
#define IDC_ASSIGN_GATEWAY_LABEL 1205
#define IDC_ASSIGN_GATEWAY 1206
#define IDC_ASSIGN_NO_GATEWAY 1207
#define IDC_ASSIGN_OTHER_SUBNET 1208
#define IDC_ASSIGN_DNS1_LABEL 1209
#define IDC_ASSIGN_DNS1 1210
#define IDC_ASSIGN_DNS2_LABEL 1211
#define IDC_ASSIGN_DNS2 1212
#define IDC_ASSIGN_PATTERN_LABEL 1213
#define IDC_ASSIGN_PATTERN 1214
#define IDC_ASSIGN_CHOICE_LABEL 1215
#define IDC_ASSIGN_CHOICE 1216
#define IDC_ASSIGN_USER_LABEL 1217
#define IDC_ASSIGN_USER 1218
#define IDC_ASSIGN_PASSWORD_LABEL 1219
#define IDC_ASSIGN_PASSWORD 1220
#define IDC_ASSIGN_HINT 1221
#define IDC_ASSIGN_MESSAGE 1222
#define IDC_ASSIGN_TABLE 1223
#define IDC_ASSIGN_PROGRESS 1224
#define IDC_ASSIGN_APPLY 1225
#define IDC_ASSIGN_READ_CAMERAS 1226

// The system menu's about entry.
#define IDM_ABOUTBOX 0x0010
// The context menu's "Export list..." entry.
#define IDM_EXPORTLIST 40001
// The context menu's "Assign addresses..." entry.
#define IDM_ASSIGN 40002
