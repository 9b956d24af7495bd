// Resource and control ids of the program. Tests drive the running program by these.
#pragma once

#define IDI_MAIN 1
#define IDR_MAINMENU 100
#define IDD_ABOUT 110
#define IDC_ABOUT_ICON 111
#define IDC_ABOUT_VERSION 112

// Main window controls
#define IDC_AS1 120
#define IDC_L1 121
#define IDC_PB1 122
#define IDC_B1 123
#define IDC_LB1 125
#define IDC_DOCK1 126

// Main menu commands
#define IDM_CONFIGURATION 130
#define IDM_RESCUEDISK 131
#define IDM_START 132
#define IDM_RESTORE 133
#define IDM_EXIT 134
#define IDM_EMPTYCOOKIES 135
#define IDM_EMPTYRECENT 136
#define IDM_EMPTYTEMP 137
#define IDM_CONTENTS 138
#define IDM_INFO 139
