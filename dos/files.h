/* Copying and checking files under DOS. */
#ifndef KELVRANE_FILES_H
#define KELVRANE_FILES_H

#include <features.h>

/* Size and CRC-32 of a file's bytes; 0 when it cannot be read whole. */
int file_check(const char *path, unsigned long *size, unsigned long *crc);
/* Copies source over target (which must be writable), with the source's date and
 * time; size and crc receive what was read from the source. 0 when any read, write
 * or the close failed. */
int file_copy(const char *source, const char *target, unsigned long *size, unsigned long *crc);
/* Room a file of size bytes takes on a disk with clusters of that size. */
unsigned long file_room(unsigned long size, unsigned long cluster);

#endif
