/* Names, paths and numbers as the record spells them, and what DOS can reach of them. */
#ifndef KELVRANE_TEXT_H
#define KELVRANE_TEXT_H

/* bcc knows no "const": its headers define it away, before any use. */
#include <features.h>

/* The record is in the Windows code page 1252, the DOS screen and file system in the
 * OEM code page 850. Characters the other side lacks become "?", which no file name
 * may hold, so a name that cannot be converted cannot be used by mistake. */
void to_oem(char *s);
void to_ansi(char *s);

void upcase(char *s);
/* Copies at most size-1 characters; answers 0 when src did not fit. */
int copy_text(char *dst, const char *src, int size);

/* One plain DOS name: 1 to 8 characters, optionally "." and 1 to 3 more, none that DOS
 * forbids, no device name (CON, NUL, AUX, PRN, COMn, LPTn, CLOCK$). */
int is_dos_name(const char *s);
/* A full local DOS path: a drive letter, ":\" and DOS names separated by "\", without
 * closing backslash except the root, short enough for DOS. */
int is_dos_path(const char *s);
/* A destination folder as the record spells it: a full local path ("C:\...") or a
 * network path ("\\server\share\..."), no "." or ".." component, no device or raw
 * spelling, no character that file names forbid. */
int is_clean_folder(const char *s);

/* A record number: decimal, or hexadecimal after "0x", with an optional sign; 0 when
 * it is none or does not fit 32 bits. */
int parse_integer(const char *s, long *value);
/* A check "<size>,<CRC-32 in 8 hex digits>"; 0 when malformed. */
int parse_check(const char *s, unsigned long *size, unsigned long *crc);

/* path's folder with its closing backslash, as the prefix of the copies' names. */
void folder_of(const char *path, char *folder, int size);
/* Joins a folder (with or without closing backslash) and a name; 0 when too long. */
int join_path(char *out, const char *folder, const char *name);
/* Same folder, whatever the case and the closing backslash. */
int same_folder(const char *a, const char *b);

#endif
