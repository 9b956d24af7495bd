/* Reading a backup record "ABackUp.log" under DOS. The record is input, not orders: it
 * may be cut, edited or hostile. The reader holds a few entries at a time, so that a
 * record of any size is read in the memory a COM program has, and a value too long
 * for DOS is marked, never cut to something that might pass as a path. */
#ifndef KELVRANE_RECORD_H
#define KELVRANE_RECORD_H

#include <features.h>

#include "dosapi.h"

#define RECORD_NAME "ABACKUP.LOG"

struct RecordHead {
    char drive[80];   /* [Target] Drive, code page 1252, cut to fit */
    int checks;       /* [Target] Checks=1: every entry must carry its check */
    long count;       /* [Files] Count */
    long entries;     /* [Files] keys below Count */
};

/* 1 when path is a backup record: it has a Drive and a Count above 0. */
int record_head(const char *path, struct RecordHead *head);

#define HAVE_NAME 0x01
#define HAVE_DIR 0x02
#define HAVE_CHECK 0x04
#define HAVE_DOSNAME 0x08
#define HAVE_DOSDIR 0x10
#define BAD_NAME 0x01   /* too long for DOS, or malformed */
#define BAD_DIR 0x02
#define BAD_CHECK 0x04
#define BAD_DOSNAME 0x08
#define BAD_DOSDIR 0x10
#define CUT_DIR 0x20    /* a clean folder too long to keep: only its DOS spelling helps */

struct Entry {
    long number;
    unsigned char have, bad;
    char name[40];        /* [Files]: the copy's name, code page 1252 */
    char dir[DOS_PATH];   /* [Dirs]: its folder, code page 1252, cut to fit */
    char dosname[13];     /* [DosFiles]: the copy's DOS name, code page 850 */
    char dosdir[DOS_PATH]; /* [DosDirs]: the folder's DOS path, code page 850 */
    unsigned long size, crc; /* [Checks] */
};

#define WINDOW 12

/* The next entries of the record from number first on (below Count), in number order;
 * answers how many were read into entries (at most WINDOW), -1 when the record can no
 * longer be read. */
int record_entries(const char *path, const struct RecordHead *head, long first, struct Entry *entries);

#endif
