// Resource and control ids of the configuration dialog. Tests drive the dialog by these.
#pragma once

#define IDD_FORM2 200
#define IDD_TABSHEET1 201
#define IDD_TABSHEET2 202
#define IDD_TABSHEET3 203
#define IDD_TABSHEET4 204
#define IDD_TABSHEET5 205

#define IDC_PAGECONTROL1 210
#define IDC_BUTTON1 211
#define IDC_BUTTON2 212

// Allgemein
#define IDC_MSDOSBOOTFILES1 220
#define IDC_WINDOWSREGISTRY1 221
#define IDC_WININISYSTEMINI1 222
#define IDC_STARTMENU1 223
#define IDC_DESKTOP1 224
#define IDC_SAVEINTERNET1 225
#define IDC_OTHERFILES1 226

// Verzeichnisse
#define IDC_EDIT1 230
#define IDC_EDIT2 231
#define IDC_EDIT3 232
#define IDC_EDIT7 233
#define IDC_BUTTON3 234
#define IDC_BUTTON4 235
#define IDC_BUTTON10 236
#define IDC_BUTTON11 237

// Ziel
#define IDC_DRIVECOMBOBOX1 240
#define IDC_DIRECTORYLISTBOX1 241
#define IDC_L2 242
#define IDC_BUTTON12 243
#define IDC_LABEL14 244
#define IDC_EDIT4 245

// Internet
#define IDC_NETSCAPE1 250
#define IDC_IEXPLORER1 251
#define IDC_EDIT5 252
#define IDC_BUTTON7 253
#define IDC_EDIT6 254
#define IDC_BUTTON8 255

// Weitere Dateien
#define IDC_BUTTON5 260
#define IDC_BUTTON9 261
#define IDC_LISTBOX1 262
