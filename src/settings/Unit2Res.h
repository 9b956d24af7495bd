// Resource and control ids of the configuration dialog. Tests drive the dialog by these.
#pragma once

#define IDD_FORM2 200     // the dialog "Quillmark-Configuration"
#define IDD_TABSHEET1 201 // page "Allgemein": what a backup covers
#define IDD_TABSHEET2 202 // page "Verzeichnisse": the folders the backup reads
#define IDD_TABSHEET3 203 // page "Ziel": where the backup goes
#define IDD_TABSHEET4 204 // page "Internet": the browser's bookmarks or favourites
#define IDD_TABSHEET5 205 // page "Weitere Dateien": further files

#define IDC_PAGECONTROL1 210 // the tab strip over the five pages
#define IDC_BUTTON1 211      // "&OK": stores the settings and closes
#define IDC_BUTTON2 212      // "&Abbrechen": closes without storing

// Allgemein
#define IDC_MSDOSBOOTFILES1 220  // box: the DOS boot files
#define IDC_WINDOWSREGISTRY1 221 // box: registry files and user profiles
#define IDC_WININISYSTEMINI1 222 // box: Win.ini, System.ini and the shell caches
#define IDC_STARTMENU1 223       // box: the Start menu
#define IDC_DESKTOP1 224         // box: the Desktop
#define IDC_SAVEINTERNET1 225    // box: the browser's bookmarks or favourites
#define IDC_OTHERFILES1 226      // box: the further files

// Verzeichnisse
#define IDC_EDIT1 230     // field: the boot folder
#define IDC_EDIT2 231     // field: the Windows folder
#define IDC_EDIT3 232     // field: the Start menu folder
#define IDC_EDIT7 233     // field: the Desktop folder
#define IDC_BUTTON3 234   // browses for the boot folder
#define IDC_BUTTON4 235   // browses for the Windows folder
#define IDC_BUTTON10 236  // browses for the Start menu folder
#define IDC_BUTTON11 237  // browses for the Desktop folder

// Ziel
#define IDC_DRIVECOMBOBOX1 240    // the target's drive
#define IDC_DIRECTORYLISTBOX1 241 // the folders of that drive; the chosen one is the target
#define IDC_L2 242                // shows the target
#define IDC_BUTTON12 243          // "New Directory", then "OK" to create the folder named in IDC_EDIT4
#define IDC_LABEL14 244           // caption of the new folder's name field
#define IDC_EDIT4 245             // field: the new folder's name

// Internet
#define IDC_NETSCAPE1 250  // box: save Netscape's bookmark file
#define IDC_IEXPLORER1 251 // box: save Internet Explorer's favourites
#define IDC_EDIT5 252      // field: the bookmark file
#define IDC_BUTTON7 253    // browses for the bookmark file
#define IDC_EDIT6 254      // field: the favourites folder
#define IDC_BUTTON8 255    // browses for the favourites folder

// Weitere Dateien
#define IDC_BUTTON5 260  // adds a file to the list
#define IDC_BUTTON9 261  // deletes the selected file from the list
#define IDC_LISTBOX1 262 // the further files
