#include "dosapi.h"

struct DosRegs {
    unsigned ax, bx, cx, dx, si, di, carry;
};

int int21 (struct DosRegs *r);

/* Loads the registers from r, calls DOS and stores them back with the carry flag,
 * which is how DOS reports an error. ES is DS: a COM program has one segment. */
#asm
  export _int21
_int21:
  push bp
  mov bp,sp
  push si
  push di
  push ds
  pop es
  mov bx,[bp+4]
  push bx
  mov ax,[bx]
  mov cx,[bx+4]
  mov dx,[bx+6]
  mov si,[bx+8]
  mov di,[bx+10]
  mov bx,[bx+2]
  int $21
  pushf
  push bx
  mov bx,[bp-6]
  mov [bx],ax
  pop ax
  mov [bx+2],ax
  mov [bx+4],cx
  mov [bx+6],dx
  mov [bx+8],si
  mov [bx+10],di
  pop ax
  and ax,#1
  mov [bx+12],ax
  add sp,#2
  pop di
  pop si
  pop bp
  ret

; Critical errors fail the call that caused them, Ctrl+C is ignored.
critical_error:
  mov al,#3
  iret
ctrl_break:
  iret

  export _dos_install_handlers
_dos_install_handlers:
  push si
  push di
  mov dx,#critical_error
  mov ax,#$2524
  int $21
  mov dx,#ctrl_break
  mov ax,#$2523
  int $21
  pop di
  pop si
  ret
#endasm


static struct DosRegs regs;

static int dos_call(unsigned ax, unsigned bx, unsigned cx, unsigned dx)
{
    regs.ax = ax;
    regs.bx = bx;
    regs.cx = cx;
    regs.dx = dx;
    regs.si = 0;
    regs.di = 0;
    int21(&regs);
    return regs.carry ? -1 : 0;
}

int dos_open_read(const char *path)
{
    /* Read access, deny nothing: a file another handle has open must still be read. */
    return dos_call(0x3D40, 0, 0, (unsigned)path) ? -1 : (int)regs.ax;
}

int dos_create(const char *path)
{
    return dos_call(0x3C00, 0, 0, (unsigned)path) ? -1 : (int)regs.ax;
}

int dos_read(int handle, char *buf, unsigned n)
{
    return dos_call(0x3F00, handle, n, (unsigned)buf) ? -1 : (int)regs.ax;
}

int dos_write(int handle, const char *buf, unsigned n)
{
    return dos_call(0x4000, handle, n, (unsigned)buf) ? -1 : (int)regs.ax;
}

int dos_close(int handle)
{
    return dos_call(0x3E00, handle, 0, 0);
}

int dos_get_ftime(int handle, unsigned *date, unsigned *time)
{
    if (dos_call(0x5700, handle, 0, 0)) return -1;
    *date = regs.dx;
    *time = regs.cx;
    return 0;
}

int dos_set_ftime(int handle, unsigned date, unsigned time)
{
    return dos_call(0x5701, handle, time, date);
}

int dos_get_attr(const char *path, unsigned *attr)
{
    if (dos_call(0x4300, 0, 0, (unsigned)path)) return -1;
    *attr = regs.cx;
    return 0;
}

int dos_set_attr(const char *path, unsigned attr)
{
    return dos_call(0x4301, 0, attr, (unsigned)path);
}

int dos_mkdir(const char *path)
{
    return dos_call(0x3900, 0, 0, (unsigned)path);
}

int dos_rmdir(const char *path)
{
    return dos_call(0x3A00, 0, 0, (unsigned)path);
}

int dos_unlink(const char *path)
{
    return dos_call(0x4100, 0, 0, (unsigned)path);
}

int dos_find_first(const char *pattern, unsigned attrs, struct FindData *fd)
{
    dos_call(0x1A00, 0, 0, (unsigned)fd);
    return dos_call(0x4E00, 0, attrs, (unsigned)pattern);
}

int dos_find_next(struct FindData *fd)
{
    dos_call(0x1A00, 0, 0, (unsigned)fd);
    return dos_call(0x4F00, 0, 0, 0);
}

unsigned long dos_disk_free(int drive, unsigned long *cluster)
{
    dos_call(0x3600, 0, 0, drive);
    if (regs.ax == 0xFFFF) {
        *cluster = 512;
        return 0;
    }
    *cluster = (unsigned long)regs.ax * regs.cx;
    return (unsigned long)regs.bx * *cluster;
}

int dos_drive_kind(int drive)
{
    unsigned removable;
    if (dos_call(0x4408, drive, 0, 0)) {
        /* Drives that cannot answer this (network and CD drives) still exist. */
        if (dos_call(0x4409, drive, 0, 0)) return 0;
        return 3;
    }
    removable = regs.ax == 0;
    if (dos_call(0x4409, drive, 0, 0)) return removable ? 1 : 2;
    /* Bit 12: remote (also CD drives), bit 15: substituted. */
    if (regs.dx & 0x9000) return 3;
    return removable ? 1 : 2;
}

int dos_truename(const char *path, char *out)
{
    regs.ax = 0x6000;
    regs.bx = 0;
    regs.cx = 0;
    regs.dx = 0;
    regs.si = (unsigned)path;
    regs.di = (unsigned)out;
    int21(&regs);
    return regs.carry ? -1 : 0;
}

int dos_read_line(char *buf, int size)
{
    int n = 0;
    int got = 0;
    char c;
    for (;;) {
        if (dos_read(0, &c, 1) != 1) break;
        got = 1;
        if (c == '\n') break;
        if (c == '\r' || c == 0x1A) continue;
        if (n < size - 1) buf[n++] = c;
    }
    buf[n] = 0;
    return got ? n : -1;
}
