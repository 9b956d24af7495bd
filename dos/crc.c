#include "crc.h"

static unsigned table_lo[256];
static unsigned table_hi[256];

void crc_tables(void)
{
    unsigned n;
    int k;
    unsigned long c;
    for (n = 0; n < 256; ++n) {
        c = n;
        for (k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320UL ^ (c >> 1) : c >> 1;
        table_lo[n] = (unsigned)(c & 0xFFFF);
        table_hi[n] = (unsigned)(c >> 16);
    }
}

void crc_start(struct Crc *c)
{
    c->lo = 0xFFFF;
    c->hi = 0xFFFF;
}

void crc_add(struct Crc *c, const char *data, unsigned n)
{
    register unsigned lo = c->lo;
    unsigned hi = c->hi;
    unsigned i;
    const unsigned char *p = (const unsigned char *)data;
    while (n--) {
        i = (lo ^ *p++) & 0xFF;
        lo = ((lo >> 8) | (hi << 8)) ^ table_lo[i];
        hi = (hi >> 8) ^ table_hi[i];
    }
    c->lo = lo;
    c->hi = hi;
}

unsigned long crc_value(const struct Crc *c)
{
    return ((unsigned long)(unsigned)~c->hi << 16) | (unsigned)~c->lo;
}
