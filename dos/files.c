#include "files.h"

#include "crc.h"
#include "dosapi.h"

/* Large enough that DOS reads whole tracks, small enough for a COM program. */
static char buffer[8192];

int file_check(const char *path, unsigned long *size, unsigned long *crc)
{
    struct Crc c;
    int h = dos_open_read(path);
    int n;
    if (h < 0) return 0;
    crc_start(&c);
    *size = 0;
    while ((n = dos_read(h, buffer, sizeof buffer)) > 0) {
        crc_add(&c, buffer, n);
        *size += (unsigned)n;
    }
    dos_close(h);
    *crc = crc_value(&c);
    return n == 0;
}

int file_copy(const char *source, const char *target, unsigned long *size, unsigned long *crc)
{
    struct Crc c;
    unsigned date, time;
    int in, out, n, ok;
    in = dos_open_read(source);
    if (in < 0) return 0;
    out = dos_create(target);
    if (out < 0) {
        dos_close(in);
        return 0;
    }
    crc_start(&c);
    *size = 0;
    ok = 1;
    while ((n = dos_read(in, buffer, sizeof buffer)) > 0) {
        crc_add(&c, buffer, n);
        *size += (unsigned)n;
        /* A full disk writes fewer bytes than asked, without an error. */
        if (dos_write(out, buffer, n) != n) {
            ok = 0;
            break;
        }
    }
    if (n < 0) ok = 0;
    if (dos_get_ftime(in, &date, &time) == 0) dos_set_ftime(out, date, time);
    dos_close(in);
    if (dos_close(out) < 0) ok = 0;
    *crc = crc_value(&c);
    return ok;
}

unsigned long file_room(unsigned long size, unsigned long cluster)
{
    if (cluster == 0) return size;
    return (size + cluster - 1) / cluster * cluster;
}
