// Ids of the drive-letter prompt.
#pragma once

#define IDD_FORM4 400
#define IDC_FORM4_LABEL1 401
#define IDC_FORM4_EDIT1 402
#define IDC_FORM4_BUTTON1 403
