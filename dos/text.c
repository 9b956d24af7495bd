#include "text.h"

#include "dosapi.h"

#include <string.h>

static const unsigned char k1252To850[128] = {
    0x3F, 0x3F, 0x3F, 0x9F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F,
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F,
    0xFF, 0xAD, 0xBD, 0x9C, 0xCF, 0xBE, 0xDD, 0xF5, 0xF9, 0xB8, 0xA6, 0xAE, 0xAA, 0xF0, 0xA9, 0xEE,
    0xF8, 0xF1, 0xFD, 0xFC, 0xEF, 0xE6, 0xF4, 0xFA, 0xF7, 0xFB, 0xA7, 0xAF, 0xAC, 0xAB, 0xF3, 0xA8,
    0xB7, 0xB5, 0xB6, 0xC7, 0x8E, 0x8F, 0x92, 0x80, 0xD4, 0x90, 0xD2, 0xD3, 0xDE, 0xD6, 0xD7, 0xD8,
    0xD1, 0xA5, 0xE3, 0xE0, 0xE2, 0xE5, 0x99, 0x9E, 0x9D, 0xEB, 0xE9, 0xEA, 0x9A, 0xED, 0xE8, 0xE1,
    0x85, 0xA0, 0x83, 0xC6, 0x84, 0x86, 0x91, 0x87, 0x8A, 0x82, 0x88, 0x89, 0x8D, 0xA1, 0x8C, 0x8B,
    0xD0, 0xA4, 0x95, 0xA2, 0x93, 0xE4, 0x94, 0xF6, 0x9B, 0x97, 0xA3, 0x96, 0x81, 0xEC, 0xE7, 0x98,
};

static const unsigned char k850To1252[128] = {
    0xC7, 0xFC, 0xE9, 0xE2, 0xE4, 0xE0, 0xE5, 0xE7, 0xEA, 0xEB, 0xE8, 0xEF, 0xEE, 0xEC, 0xC4, 0xC5,
    0xC9, 0xE6, 0xC6, 0xF4, 0xF6, 0xF2, 0xFB, 0xF9, 0xFF, 0xD6, 0xDC, 0xF8, 0xA3, 0xD8, 0xD7, 0x83,
    0xE1, 0xED, 0xF3, 0xFA, 0xF1, 0xD1, 0xAA, 0xBA, 0xBF, 0xAE, 0xAC, 0xBD, 0xBC, 0xA1, 0xAB, 0xBB,
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xC1, 0xC2, 0xC0, 0xA9, 0x3F, 0x3F, 0x3F, 0x3F, 0xA2, 0xA5, 0x3F,
    0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xE3, 0xC3, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0x3F, 0xA4,
    0xF0, 0xD0, 0xCA, 0xCB, 0xC8, 0x3F, 0xCD, 0xCE, 0xCF, 0x3F, 0x3F, 0x3F, 0x3F, 0xA6, 0xCC, 0x3F,
    0xD3, 0xDF, 0xD4, 0xD2, 0xF5, 0xD5, 0xB5, 0xFE, 0xDE, 0xDA, 0xDB, 0xD9, 0xFD, 0xDD, 0xAF, 0xB4,
    0xAD, 0xB1, 0x3F, 0xBE, 0xB6, 0xA7, 0xF7, 0xB8, 0xB0, 0xA8, 0xB7, 0xB9, 0xB3, 0xB2, 0x3F, 0xA0,
};

static void convert(char *s, const unsigned char *table)
{
    unsigned char *p = (unsigned char *)s;
    for (; *p; ++p)
        if (*p >= 0x80) *p = table[*p - 0x80];
}

void to_oem(char *s)
{
    convert(s, k1252To850);
}

void to_ansi(char *s)
{
    convert(s, k850To1252);
}

void upcase(char *s)
{
    for (; *s; ++s)
        if (*s >= 'a' && *s <= 'z') *s = (char)(*s - 'a' + 'A');
}

int copy_text(char *dst, const char *src, int size)
{
    int n = strlen(src);
    if (n >= size) {
        memcpy(dst, src, size - 1);
        dst[size - 1] = 0;
        return 0;
    }
    strcpy(dst, src);
    return 1;
}

static int name_char(unsigned char c)
{
    if (c >= 0x80) return c != 0xFF && c != 0xE5;
    if (c >= 'A' && c <= 'Z') return 1;
    if (c >= 'a' && c <= 'z') return 1;
    if (c >= '0' && c <= '9') return 1;
    return c && strchr("!#$%&'()-@^_`{}~", c) != 0;
}

static const char *const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$", "COM1", "COM2", "COM3", "COM4",
                                       "COM5", "COM6", "COM7", "COM8", "COM9", "LPT1", "LPT2", "LPT3",
                                       "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", 0};

/* Checks the name of length n at s. */
static int dos_name_n(const char *s, int n)
{
    int base = 0;
    int ext = -1;
    int i;
    char stem[9];
    for (i = 0; i < n; ++i) {
        if (s[i] == '.') {
            if (ext >= 0) return 0;
            ext = 0;
        } else if (!name_char((unsigned char)s[i])) {
            return 0;
        } else if (ext >= 0) {
            if (++ext > 3) return 0;
        } else if (++base > 8) {
            return 0;
        }
    }
    if (base == 0 || ext == 0) return 0;
    memcpy(stem, s, base);
    stem[base] = 0;
    upcase(stem);
    for (i = 0; kDevices[i]; ++i)
        if (strcmp(stem, kDevices[i]) == 0) return 0;
    return 1;
}

int is_dos_name(const char *s)
{
    return dos_name_n(s, strlen(s));
}

static int is_letter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int is_dos_path(const char *s)
{
    const char *p;
    const char *end;
    if (!is_letter(s[0]) || s[1] != ':' || s[2] != '\\') return 0;
    if (strlen(s) > DOS_PATH - 2) return 0;
    if (s[3] == 0) return 1;
    for (p = s + 3;; p = end + 1) {
        end = strchr(p, '\\');
        if (!end) return dos_name_n(p, strlen(p));
        if (!dos_name_n(p, end - p)) return 0;
    }
}

int is_clean_folder(const char *s)
{
    const char *p;
    const char *end;
    int n;
    if (is_letter(s[0]) && s[1] == ':' && s[2] == '\\') {
        p = s + 3;
        if (*p == 0) return 1;
    } else if (s[0] == '\\' && s[1] == '\\' && s[2] != '\\' && s[2] != '.' && s[2] != '?') {
        p = s + 2;
    } else {
        return 0;
    }
    for (;; p = end + 1) {
        end = strchr(p, '\\');
        n = end ? end - p : strlen(p);
        if (n == 0) return 0;
        if (n == 1 && p[0] == '.') return 0;
        if (n == 2 && p[0] == '.' && p[1] == '.') return 0;
        while (n-- > 0) {
            unsigned char c = (unsigned char)p[n];
            if (c < 0x20 || strchr("<>:\"/|?*", c)) return 0;
        }
        if (!end) return 1;
    }
}

int parse_integer(const char *s, long *value)
{
    int negative = 0;
    int hex = 0;
    int digit;
    unsigned long n = 0;
    unsigned long limit;
    if (*s == '-' || *s == '+') negative = *s++ == '-';
    if (s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        hex = 1;
        s += 2;
    }
    if (*s == 0) return 0;
    limit = hex ? 0xFFFFFFFFUL : 0x80000000UL;
    for (; *s; ++s) {
        if (*s >= '0' && *s <= '9') digit = *s - '0';
        else if (hex && *s >= 'a' && *s <= 'f') digit = *s - 'a' + 10;
        else if (hex && *s >= 'A' && *s <= 'F') digit = *s - 'A' + 10;
        else return 0;
        if (n > (limit - digit) / (hex ? 16 : 10)) return 0;
        n = n * (hex ? 16 : 10) + digit;
    }
    if (!hex && !negative && n > 0x7FFFFFFFUL) return 0;
    *value = negative ? -(long)n : (long)n;
    return 1;
}

int parse_check(const char *s, unsigned long *size, unsigned long *crc)
{
    const char *comma = strchr(s, ',');
    const char *p;
    int digit;
    if (!comma || comma == s || strlen(comma + 1) != 8) return 0;
    *size = 0;
    for (p = s; p < comma; ++p) {
        if (*p < '0' || *p > '9') return 0;
        /* No file on a DOS disk is larger than 4 GB - 1. */
        if (*size > (0xFFFFFFFFUL - (*p - '0')) / 10) return 0;
        *size = *size * 10 + (*p - '0');
    }
    *crc = 0;
    for (p = comma + 1; *p; ++p) {
        if (*p >= '0' && *p <= '9') digit = *p - '0';
        else if (*p >= 'a' && *p <= 'f') digit = *p - 'a' + 10;
        else if (*p >= 'A' && *p <= 'F') digit = *p - 'A' + 10;
        else return 0;
        *crc = (*crc << 4) | (unsigned long)digit;
    }
    return 1;
}

void folder_of(const char *path, char *folder, int size)
{
    const char *slash = strrchr(path, '\\');
    const char *colon = strrchr(path, ':');
    int n;
    if (colon && (!slash || colon > slash)) slash = colon;
    n = slash ? slash - path + 1 : 0;
    if (n >= size) n = 0;
    memcpy(folder, path, n);
    folder[n] = 0;
}

int join_path(char *out, const char *folder, const char *name)
{
    int n = strlen(folder);
    int slash = n > 0 && folder[n - 1] != '\\' && folder[n - 1] != ':';
    if (n + slash + strlen(name) >= DOS_PATH) return 0;
    strcpy(out, folder);
    if (slash) strcat(out, "\\");
    strcat(out, name);
    return 1;
}

int same_folder(const char *a, const char *b)
{
    int na = strlen(a);
    int nb = strlen(b);
    char x, y;
    int i;
    if (na > 3 && a[na - 1] == '\\') --na;
    if (nb > 3 && b[nb - 1] == '\\') --nb;
    if (na != nb) return 0;
    for (i = 0; i < na; ++i) {
        x = a[i];
        y = b[i];
        if (x >= 'a' && x <= 'z') x = (char)(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = (char)(y - 'a' + 'A');
        if (x != y) return 0;
    }
    return 1;
}
