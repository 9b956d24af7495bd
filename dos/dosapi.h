/* The DOS calls the companion needs, through INT 21h. bcc's library opens, reads and
 * writes files, but knows nothing of folders, attributes, file times or free space,
 * and its stdio buffering would hide write errors, so every file access goes through
 * here. */
#ifndef KELVRANE_DOSAPI_H
#define KELVRANE_DOSAPI_H

/* bcc knows no "const": its headers define it away, before any use. */
#include <features.h>

#define ATTR_READONLY 0x01
#define ATTR_HIDDEN 0x02
#define ATTR_SYSTEM 0x04
#define ATTR_LABEL 0x08
#define ATTR_DIR 0x10
#define ATTR_ARCHIVE 0x20
#define ATTR_ANY (ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_DIR | ATTR_ARCHIVE)

/* DOS path length with drive, colon and terminating NUL. */
#define DOS_PATH 68

/* The disk transfer area of a search, as DOS fills it. */
struct FindData {
    char reserved[21];
    unsigned char attr;
    unsigned time;
    unsigned date;
    unsigned long size;
    char name[13];
};

/* Runs once at start: a drive without a medium or a failing disk must answer with an
 * error rather than stop the machine at "Abort, Retry, Fail", and Ctrl+C must not end
 * the program half-way through a copy. */
void dos_install_handlers(void);

int dos_open_read(const char *path);          /* handle, or -1 */
int dos_create(const char *path);             /* truncates; handle, or -1 */
int dos_read(int handle, char *buf, unsigned n); /* bytes read, or -1 */
int dos_write(int handle, const char *buf, unsigned n); /* bytes written, or -1 */
int dos_close(int handle);                    /* 0, or -1 */
int dos_get_ftime(int handle, unsigned *date, unsigned *time);
int dos_set_ftime(int handle, unsigned date, unsigned time);

int dos_get_attr(const char *path, unsigned *attr); /* 0, or -1 when missing */
int dos_set_attr(const char *path, unsigned attr);
int dos_mkdir(const char *path);
int dos_rmdir(const char *path);
int dos_unlink(const char *path);

/* Each search keeps its own transfer area, so searches may nest. */
int dos_find_first(const char *pattern, unsigned attrs, struct FindData *fd);
int dos_find_next(struct FindData *fd);

/* drive: 1 = A:, 3 = C:. Free bytes (0 when the drive cannot answer) and the
 * cluster size, in which every file takes its room. */
unsigned long dos_disk_free(int drive, unsigned long *cluster);
/* 0 no such drive, 1 removable, 2 fixed and local, 3 remote, CD or substituted. */
int dos_drive_kind(int drive);
/* The fully qualified spelling DOS itself uses for path; 0, or -1. out: DOS_PATH+60. */
int dos_truename(const char *path, char *out);

/* One line typed at the keyboard or read from redirected input, without its line end;
 * -1 at the end of the input. */
int dos_read_line(char *buf, int size);

#endif
