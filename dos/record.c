#include "record.h"

#include "text.h"

#include <string.h>

#define SEC_OTHER 0
#define SEC_TARGET 1
#define SEC_FILES 2
#define SEC_DIRS 3
#define SEC_CHECKS 4
#define SEC_DOSFILES 5
#define SEC_DOSDIRS 6

/* A key, "=" and the longest Windows path; longer lines are marked as cut. */
#define LINE_MAX 300

static const char *const kSections[] = {"", "TARGET", "FILES", "DIRS", "CHECKS", "DOSFILES", "DOSDIRS", 0};

struct Reader {
    int handle;
    int pos, len;
    int failed;
    char buf[512];
};

static struct Reader reader;
static char line[LINE_MAX + 1];

/* One line without its end; cut is set when it did not fit. 0 at the end of the file. */
static int read_line(int *cut)
{
    int n = 0;
    int any = 0;
    char c;
    *cut = 0;
    for (;;) {
        if (reader.pos == reader.len) {
            reader.len = dos_read(reader.handle, reader.buf, sizeof reader.buf);
            reader.pos = 0;
            if (reader.len < 0) reader.failed = 1;
            if (reader.len <= 0) {
                reader.len = 0;
                break;
            }
        }
        c = reader.buf[reader.pos++];
        any = 1;
        if (c == '\n') break;
        if (c == '\r') continue;
        if (n < LINE_MAX) line[n++] = c;
        else *cut = 1;
    }
    line[n] = 0;
    return any;
}

static char *trim(char *s)
{
    char *end;
    while (*s == ' ' || *s == '\t') ++s;
    end = s + strlen(s);
    while (end > s && (end[-1] == ' ' || end[-1] == '\t')) --end;
    *end = 0;
    return s;
}

/* The profile calls drop one pair of quotes around a value. */
static char *unquote(char *s)
{
    int n = strlen(s);
    if (n >= 2 && (s[0] == '"' || s[0] == '\'') && s[n - 1] == s[0]) {
        s[n - 1] = 0;
        return s + 1;
    }
    return s;
}

/* Only the writer's spelling is an entry's key: decimal, no sign, no leading zero. */
static int numbered_key(const char *key, long *number)
{
    int n = strlen(key);
    int i;
    if (n == 0 || n > 9 || (n > 1 && key[0] == '0')) return 0;
    for (i = 0; i < n; ++i)
        if (key[i] < '0' || key[i] > '9') return 0;
    *number = 0;
    for (i = 0; i < n; ++i) *number = *number * 10 + (key[i] - '0');
    return 1;
}

typedef void (*Visit)(void *ctx, int section, char *key, char *value, int cut);

/* Calls visit for every key of the known sections. As the profile calls do, only the
 * first section of a name counts; keys and section names ignore case. */
static int scan(const char *path, Visit visit, void *ctx)
{
    int section = SEC_OTHER;
    unsigned seen = 0;
    int cut, i;
    char *p, *eq, *end;
    reader.handle = dos_open_read(path);
    if (reader.handle < 0) return -1;
    reader.pos = reader.len = reader.failed = 0;
    while (read_line(&cut)) {
        p = trim(line);
        if (*p == '[') {
            end = strchr(p, ']');
            if (!end) continue;
            *end = 0;
            p = trim(p + 1);
            upcase(p);
            section = SEC_OTHER;
            for (i = 1; kSections[i]; ++i)
                if (strcmp(p, kSections[i]) == 0) section = i;
            if (seen & (1u << section)) section = SEC_OTHER;
            seen |= 1u << section;
            continue;
        }
        eq = strchr(p, '=');
        if (section == SEC_OTHER || !eq) continue;
        *eq = 0;
        p = trim(p);
        upcase(p);
        visit(ctx, section, p, unquote(trim(eq + 1)), cut);
    }
    dos_close(reader.handle);
    return reader.failed ? -1 : 0;
}

struct HeadScan {
    struct RecordHead *head;
    unsigned found;  /* the first Drive, Checks and Count only */
};

static void visit_head(void *ctx, int section, char *key, char *value, int cut)
{
    struct HeadScan *s = (struct HeadScan *)ctx;
    long n;
    if (section == SEC_TARGET && strcmp(key, "DRIVE") == 0 && !(s->found & 1)) {
        s->found |= 1;
        copy_text(s->head->drive, value, sizeof s->head->drive);
    } else if (section == SEC_TARGET && strcmp(key, "CHECKS") == 0 && !(s->found & 2)) {
        s->found |= 2;
        s->head->checks = parse_integer(value, &n) && n == 1;
    } else if (section == SEC_FILES && strcmp(key, "COUNT") == 0 && !(s->found & 4)) {
        s->found |= 4;
        if (cut || !parse_integer(value, &s->head->count)) s->head->count = 0;
    }
}

static void visit_count(void *ctx, int section, char *key, char *value, int cut)
{
    struct RecordHead *head = (struct RecordHead *)ctx;
    long number;
    (void)value;
    (void)cut;
    if (section == SEC_FILES && numbered_key(key, &number) && number < head->count) ++head->entries;
}

int record_head(const char *path, struct RecordHead *head)
{
    struct HeadScan s;
    memset(head, 0, sizeof *head);
    s.head = head;
    s.found = 0;
    if (scan(path, visit_head, &s) < 0) return 0;
    if (head->drive[0] == 0 || head->count <= 0) return 0;
    if (scan(path, visit_count, head) < 0) return 0;
    return 1;
}

struct WindowScan {
    const struct RecordHead *head;
    long first;
    int n;
    struct Entry *entries;
};

/* Keeps the WINDOW smallest indices from first on, sorted; a repeated key counts once. */
static void visit_indices(void *ctx, int section, char *key, char *value, int cut)
{
    struct WindowScan *s = (struct WindowScan *)ctx;
    long number;
    int i, j;
    (void)value;
    (void)cut;
    if (section != SEC_FILES || !numbered_key(key, &number)) return;
    if (number < s->first || number >= s->head->count) return;
    for (i = 0; i < s->n && s->entries[i].number < number; ++i) {
    }
    if (i < s->n && s->entries[i].number == number) return;
    if (i == WINDOW) return;
    if (s->n < WINDOW) ++s->n;
    for (j = s->n - 1; j > i; --j) s->entries[j].number = s->entries[j - 1].number;
    s->entries[i].number = number;
}

/* Stores a text field the first time its key comes; marks it bad when it was cut. */
static void set_field(struct Entry *e, unsigned char flag, char *field, int size, char *value, int cut)
{
    if (e->have & flag) return;
    e->have |= flag;
    if (cut || !copy_text(field, value, size)) e->bad |= flag;
}

static void visit_values(void *ctx, int section, char *key, char *value, int cut)
{
    struct WindowScan *s = (struct WindowScan *)ctx;
    struct Entry *e = 0;
    long number;
    int i;
    if (!numbered_key(key, &number)) return;
    for (i = 0; i < s->n; ++i)
        if (s->entries[i].number == number) e = &s->entries[i];
    if (!e) return;
    switch (section) {
    case SEC_FILES:
        set_field(e, HAVE_NAME, e->name, sizeof e->name, value, cut);
        break;
    case SEC_DIRS:
        /* A folder is judged whole, before it is cut to what DOS can hold. */
        if (e->have & HAVE_DIR) break;
        e->have |= HAVE_DIR;
        if (cut || !is_clean_folder(value)) e->bad |= BAD_DIR;
        if (!copy_text(e->dir, value, sizeof e->dir)) e->bad |= CUT_DIR;
        break;
    case SEC_CHECKS:
        if (e->have & HAVE_CHECK) break;
        e->have |= HAVE_CHECK;
        if (cut || !parse_check(value, &e->size, &e->crc)) e->bad |= BAD_CHECK;
        break;
    case SEC_DOSFILES:
        set_field(e, HAVE_DOSNAME, e->dosname, sizeof e->dosname, value, cut);
        break;
    case SEC_DOSDIRS:
        set_field(e, HAVE_DOSDIR, e->dosdir, sizeof e->dosdir, value, cut);
        break;
    }
}

int record_entries(const char *path, const struct RecordHead *head, long first, struct Entry *entries)
{
    struct WindowScan s;
    int i;
    s.head = head;
    s.first = first;
    s.n = 0;
    s.entries = entries;
    if (scan(path, visit_indices, &s) < 0) return -1;
    for (i = 0; i < s.n; ++i) {
        entries[i].have = entries[i].bad = 0;
        entries[i].name[0] = entries[i].dir[0] = entries[i].dosname[0] = entries[i].dosdir[0] = 0;
        entries[i].size = entries[i].crc = 0;
    }
    if (s.n && scan(path, visit_values, &s) < 0) return -1;
    return s.n;
}
