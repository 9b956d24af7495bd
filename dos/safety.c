#include "safety.h"

#include "dosapi.h"
#include "files.h"
#include "record.h"
#include "text.h"

#include <string.h>

static const char *const kFolders[] = {"C:\\QMSAFE1", "C:\\QMSAFE2"};

/* What one safety record holds; the record is written anew after each copy, so that
 * whatever stops the restore leaves a record of what the folder holds. */
#define KEEP_MAX 64
struct Kept {
    char name[13];
    char folder[DOS_PATH];
    unsigned long size, crc;
};
static struct Kept kept[KEEP_MAX];
static int kept_count;
static int chosen = -1;
static char folder_path[16];

const char *safety_folder(void)
{
    return folder_path;
}

/* 1 when the record in folder k exists, with its date and time. */
static int record_time(int k, unsigned long *when)
{
    struct FindData fd;
    char path[DOS_PATH];
    join_path(path, kFolders[k], RECORD_NAME);
    if (dos_find_first(path, ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_ARCHIVE, &fd)) return 0;
    *when = ((unsigned long)fd.date << 16) | fd.time;
    return 1;
}

/* 1 when folder k may be written: not the source, not the backup's Drive, and not a
 * file of that name. */
static int usable(int k, const char *source_folder, const char *drive)
{
    char mine[DOS_PATH + 60];
    char theirs[DOS_PATH + 60];
    unsigned attr;
    if (same_folder(kFolders[k], drive)) return 0;
    if (dos_truename(kFolders[k], mine) == 0 && dos_truename(source_folder, theirs) == 0 &&
        same_folder(mine, theirs))
        return 0;
    if (same_folder(kFolders[k], source_folder)) return 0;
    if (dos_get_attr(kFolders[k], &attr) == 0 && !(attr & ATTR_DIR)) return 0;
    return 1;
}

int safety_choose(const char *source_folder, const char *drive)
{
    unsigned long when[2];
    int has[2], ok[2], k;
    chosen = -1;
    for (k = 0; k < 2; ++k) {
        ok[k] = usable(k, source_folder, drive);
        has[k] = record_time(k, &when[k]);
    }
    for (k = 0; k < 2 && chosen < 0; ++k)
        if (ok[k] && !has[k]) chosen = k;
    if (chosen < 0) {
        if (ok[0] && ok[1]) chosen = when[1] < when[0] ? 1 : 0;
        else if (ok[0]) chosen = 0;
        else if (ok[1]) chosen = 1;
    }
    if (chosen < 0) return 0;
    strcpy(folder_path, kFolders[chosen]);
    strcat(folder_path, "\\");
    return 1;
}

/* Walks what lies below folder: deletes it, or adds up the room it takes. 0 when
 * something could not be deleted or read. */
static int walk(const char *folder, int remove, unsigned long cluster, unsigned long *room)
{
    struct FindData fd;
    char pattern[DOS_PATH];
    char path[DOS_PATH];
    int ok = 1;
    int more;
    if (!join_path(pattern, folder, "*.*")) return 0;
    for (more = dos_find_first(pattern, ATTR_ANY, &fd) == 0; more; more = dos_find_next(&fd) == 0) {
        if (strcmp(fd.name, ".") == 0 || strcmp(fd.name, "..") == 0) continue;
        if (!join_path(path, folder, fd.name)) {
            ok = 0;
            continue;
        }
        if (fd.attr & ATTR_DIR) {
            if (!walk(path, remove, cluster, room)) ok = 0;
            /* The search below used its own transfer area; this one goes on. */
            if (remove && dos_rmdir(path)) ok = 0;
        } else if (remove) {
            if (fd.attr & (ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM)) dos_set_attr(path, 0);
            if (dos_unlink(path)) ok = 0;
        } else {
            *room += file_room(fd.size, cluster);
        }
    }
    return ok;
}

unsigned long safety_reclaimable(unsigned long cluster)
{
    unsigned long room = 0;
    if (chosen >= 0) walk(kFolders[chosen], 0, cluster, &room);
    return room;
}

/* Writes text to handle; keeps the first failure in *ok. */
static void put(int handle, const char *text, int *ok)
{
    int n = strlen(text);
    if (dos_write(handle, text, n) != n) *ok = 0;
}

static void put_number(int handle, unsigned long n, int *ok)
{
    char digits[12];
    int i = sizeof digits - 1;
    digits[i] = 0;
    do {
        digits[--i] = (char)('0' + n % 10);
        n /= 10;
    } while (n);
    put(handle, digits + i, ok);
}

static void put_hex8(int handle, unsigned long n, int *ok)
{
    char digits[9];
    int i;
    for (i = 7; i >= 0; --i) {
        digits[i] = "0123456789ABCDEF"[(unsigned)(n & 15)];
        n >>= 4;
    }
    digits[8] = 0;
    put(handle, digits, ok);
}

/* One numbered section; field 0 names and the count, 1 folders in 1252, 2 checks,
 * 3 DOS folders, 4 DOS names.
 * The arguments are passed as declared: unproto drops the prototypes, and with them
 * every conversion of an argument. */
static void put_section(int handle, const char *title, int field, int *ok)
{
    char ansi[DOS_PATH];
    int i;
    put(handle, title, ok);
    for (i = 0; i < kept_count; ++i) {
        put_number(handle, (unsigned long)i, ok);
        put(handle, "=", ok);
        if (field == 0 || field == 4) {
            put(handle, kept[i].name, ok);
        } else if (field == 1) {
            strcpy(ansi, kept[i].folder);
            to_ansi(ansi);
            put(handle, ansi, ok);
        } else if (field == 2) {
            put_number(handle, kept[i].size, ok);
            put(handle, ",", ok);
            put_hex8(handle, kept[i].crc, ok);
        } else {
            put(handle, kept[i].folder, ok);
        }
        put(handle, "\r\n", ok);
    }
    if (field == 0) {
        put(handle, "Count=", ok);
        put_number(handle, (unsigned long)kept_count, ok);
        put(handle, "\r\n", ok);
    }
}

static int write_record(void)
{
    char path[DOS_PATH];
    int ok = 1;
    int h;
    join_path(path, folder_path, RECORD_NAME);
    h = dos_create(path);
    if (h < 0) return 0;
    put(h, "[Target]\r\nDrive=", &ok);
    put(h, folder_path, &ok);
    put(h, "\r\nChecks=1\r\n", &ok);
    put_section(h, "[Files]\r\n", 0, &ok);
    put_section(h, "[Dirs]\r\n", 1, &ok);
    put_section(h, "[Checks]\r\n", 2, &ok);
    put_section(h, "[DosFiles]\r\n", 4, &ok);
    put_section(h, "[DosDirs]\r\n", 3, &ok);
    if (dos_close(h)) ok = 0;
    return ok;
}

int safety_prepare(void)
{
    unsigned attr;
    unsigned long room = 0;
    const char *folder;
    if (chosen < 0) return 0;
    folder = kFolders[chosen];
    /* Only this exact folder is ever emptied. */
    if (strlen(folder) != 10 || strncmp(folder, "C:\\QMSAFE", 9) != 0) return 0;
    if (dos_get_attr(folder, &attr) == 0) {
        if (!(attr & ATTR_DIR)) return 0;
        if (!walk(folder, 1, 0, &room)) return 0;
    } else if (dos_mkdir(folder)) {
        return 0;
    }
    kept_count = 0;
    return write_record();
}

int safety_keep(const char *path, const char *name, const char *folder)
{
    char copy[DOS_PATH];
    unsigned attr;
    unsigned long size, crc, back_size, back_crc;
    struct Kept *k;
    if (chosen < 0 || kept_count == KEEP_MAX) return 0;
    /* The folder is flat: a second file of the same name must not replace the first. */
    if (!join_path(copy, folder_path, name) || dos_get_attr(copy, &attr) == 0) return 0;
    if (!file_copy(path, copy, &size, &crc) || !file_check(copy, &back_size, &back_crc) ||
        back_size != size || back_crc != crc) {
        dos_unlink(copy);
        return 0;
    }
    k = &kept[kept_count++];
    strcpy(k->name, name);
    strcpy(k->folder, folder);
    k->size = size;
    k->crc = crc;
    if (!write_record()) {
        --kept_count;
        dos_unlink(copy);
        write_record();
        return 0;
    }
    return 1;
}
