/* The safety folders C:\QMSAFE1\ and C:\QMSAFE2\, shared with the Windows program:
 * before a restore overwrites a file, what is there goes into one of them, with a
 * record of the backup format, so that restoring that record undoes the restore, from
 * Windows or from here. */
#ifndef KELVRANE_SAFETY_H
#define KELVRANE_SAFETY_H

#include <features.h>

/* Picks the folder this restore writes: one without a record first (QMSAFE1 before
 * QMSAFE2), else the one whose record is older; never the folder the restore reads
 * from (source_folder, its DOS spelling) nor the backup's own Drive (code page 850).
 * 0 when neither may be used. */
int safety_choose(const char *source_folder, const char *drive);
/* "C:\QMSAFE1\" or "C:\QMSAFE2\", once chosen. */
const char *safety_folder(void);
/* Room the chosen folder holds now and gives back when it is emptied. */
unsigned long safety_reclaimable(unsigned long cluster);
/* Empties the chosen folder (only it), creates it where missing and writes an empty
 * record into it. 0 when it cannot be made ready. */
int safety_prepare(void);
/* Copies the file at path into the folder under name, reads the copy back and adds it
 * to the folder's record as having come from folder (its DOS path). 0 when the copy or
 * the record could not be made whole; nothing then stays in the folder. */
int safety_keep(const char *path, const char *name, const char *folder);

#endif
