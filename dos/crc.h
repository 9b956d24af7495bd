/* The CRC-32 of zip and PNG, the check the Windows program records for every copy.
 * bcc does 32-bit arithmetic through library calls; the running value is kept in two
 * 16-bit halves, which makes the check of a registry file take a moment, not minutes. */
#ifndef KELVRANE_CRC_H
#define KELVRANE_CRC_H

#include <features.h>

struct Crc {
    unsigned lo, hi;
};

void crc_tables(void);  /* once, before the first check */
void crc_start(struct Crc *c);
void crc_add(struct Crc *c, const char *data, unsigned n);
unsigned long crc_value(const struct Crc *c);

#endif
