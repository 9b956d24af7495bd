// Ids of the format dialog that stands in for the shell's on Wine.
#pragma once

#define IDD_FORMAT 450
#define IDC_FORMAT_DRIVE 451
#define IDC_FORMAT_KIND 452
#define IDC_FORMAT_QUICK 453
#define IDC_FORMAT_FULL 454
#define IDC_FORMAT_SYSONLY 455
