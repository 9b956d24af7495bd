/* KELVRANE: puts a Quillmark backup back when Windows no longer starts. Booted from the
 * rescue floppy, it finds the backup records on the hard drives, shows what the chosen
 * one will put back, keeps what it overwrites in a safety folder and checks every copy
 * before and after.
 *   KELVRANE [/J] [folder | record]
 * Exit codes as the Windows program's: 0 all restored, 1 nothing found or nothing run,
 * 2 some entries failed. Screen texts are German, in code page 850. */
#include "crc.h"
#include "dosapi.h"
#include "files.h"
#include "record.h"
#include "safety.h"
#include "text.h"

#include <stdio.h>
#include <string.h>

#define EXIT_ALL 0
#define EXIT_NOTHING 1
#define EXIT_FAILED 2

/* Incomplete entries are named one by one only this far; a damaged record may lack
 * millions. */
#define GAPS_SHOWN 10
/* A record is read this far; beyond, its entries count as failed. */
#define ENTRIES_MAX 2000L

/* ---- Finding the backups ---- */

#define FOUND_MAX 20
struct Found {
    char path[DOS_PATH];
    unsigned date, time;
    long entries;
    int safety;  /* the record of a safety folder: what a restore overwrote */
};
static struct Found found[FOUND_MAX];
static int found_count;

static void consider(const char *path)
{
    struct RecordHead head;
    struct FindData fd;
    struct Found f;
    int i;
    if (dos_find_first(path, ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_ARCHIVE, &fd)) return;
    if (!record_head(path, &head)) return;
    strcpy(f.path, path);
    f.date = fd.date;
    f.time = fd.time;
    f.entries = head.entries;
    f.safety = strncmp(path, "C:\\QMSAFE", 9) == 0;
    /* Newest first; when the list is full, the oldest drop out. */
    for (i = found_count; i > 0; --i) {
        struct Found *before = &found[i - 1];
        if (before->date > f.date || (before->date == f.date && before->time >= f.time)) break;
        if (i < FOUND_MAX) found[i] = *before;
    }
    if (i < FOUND_MAX) {
        found[i] = f;
        if (found_count < FOUND_MAX) ++found_count;
    }
}

/* The root and every folder one level below it, on every local hard drive. */
static void search_drives(void)
{
    struct FindData fd;
    char pattern[8];
    char path[DOS_PATH];
    char root[4];
    int drive, more;
    for (drive = 3; drive <= 26; ++drive) {
        if (dos_drive_kind(drive) != 2) continue;
        root[0] = (char)('A' + drive - 1);
        root[1] = ':';
        root[2] = '\\';
        root[3] = 0;
        join_path(path, root, RECORD_NAME);
        consider(path);
        strcpy(pattern, root);
        strcat(pattern, "*.*");
        for (more = dos_find_first(pattern, ATTR_DIR | ATTR_HIDDEN | ATTR_SYSTEM, &fd) == 0; more;
             more = dos_find_next(&fd) == 0) {
            if (!(fd.attr & ATTR_DIR) || fd.name[0] == '.') continue;
            strcpy(path, root);
            strcat(path, fd.name);
            strcat(path, "\\" RECORD_NAME);
            consider(path);
        }
    }
}

static void print_found(int i)
{
    const struct Found *f = &found[i];
    printf("%2d  %-24s %02u.%02u.%04u %02u:%02u  %ld Eintr\204ge%s\r\n", i + 1, f->path, f->date & 31,
           (f->date >> 5) & 15, (f->date >> 9) + 1980, f->time >> 11, (f->time >> 5) & 63, f->entries,
           f->safety ? " (vorheriger Stand)" : "");
}

static int ask(const char *question, char *answer, int size)
{
    printf("%s", question);
    fflush(stdout);
    return dos_read_line(answer, size);
}

/* A folder holds its record; anything else is taken as the record itself. */
static void record_path(const char *given, char *path)
{
    unsigned attr;
    char name[DOS_PATH];
    copy_text(name, given, DOS_PATH);
    upcase(name);
    if (dos_get_attr(name, &attr) == 0 && (attr & ATTR_DIR)) {
        if (!join_path(path, name, RECORD_NAME)) path[0] = 0;
    } else {
        strcpy(path, name);
    }
}

/* The record to restore, in path; 0 when there is none or the user ends. */
static int choose_record(int unattended, const char *given, char *path)
{
    struct RecordHead head;
    char answer[DOS_PATH];
    long choice;
    if (given) {
        record_path(given, path);
        if (record_head(path, &head)) return 1;
        printf("%s ist keine Sicherung (ABACKUP.LOG).\r\n", given);
        return 0;
    }
    printf("Suche Sicherungen (ABACKUP.LOG) auf den Festplatten...\r\n");
    search_drives();
    if (unattended) {
        /* A batch file that runs twice must not undo its own restore: the state kept
         * in a safety folder is put back only by choice. */
        int i;
        for (i = 0; i < found_count; ++i) {
            if (found[i].safety) continue;
            print_found(i);
            strcpy(path, found[i].path);
            return 1;
        }
        printf("Keine Sicherung gefunden.\r\n");
        return 0;
    }
    if (found_count == 1) {
        print_found(0);
        strcpy(path, found[0].path);
        return 1;
    }
    if (found_count > 1) {
        int i;
        for (i = 0; i < found_count; ++i) print_found(i);
        for (;;) {
            if (ask("Welche Sicherung? Nummer (leer = Ende): ", answer, sizeof answer) <= 0) return 0;
            if (parse_integer(answer, &choice) && choice >= 1 && choice <= found_count) break;
        }
        strcpy(path, found[(int)choice - 1].path);
        return 1;
    }
    printf("Keine Sicherung gefunden.\r\n");
    for (;;) {
        if (ask("Ordner der Sicherung (leer = Ende): ", answer, sizeof answer) <= 0) return 0;
        record_path(answer, path);
        if (record_head(path, &head)) return 1;
        printf("Dort liegt keine Sicherung.\r\n");
    }
}

/* ---- What an entry will do ---- */

#define PLAN_FILE 0
#define PLAN_FOLDER 1
#define PLAN_SKIP 2

struct Plan {
    int kind;
    const char *why;          /* for PLAN_SKIP */
    char name[13];            /* DOS name of the copy and of the restored file */
    char folder[DOS_PATH];    /* DOS path of the destination folder */
    char source[DOS_PATH];
    char target[DOS_PATH];
    unsigned long size, crc;  /* what the restored file must hold */
    unsigned source_attr;
    int target_exists;
    unsigned target_attr;
    unsigned long target_size;
};

static struct RecordHead head;
static char record_file[DOS_PATH];
static char source_folder[DOS_PATH];   /* where the record and the copies lie */
static char source_true[DOS_PATH + 60];

static const char kDamaged[] = "Eintrag besch\204digt";
static const char kWindowsOnly[] = "nur unter Windows wiederherstellbar";

static int skip(struct Plan *p, const char *why)
{
    p->kind = PLAN_SKIP;
    p->why = why;
    return PLAN_SKIP;
}

/* 1 when the folder is where the copies or a safety copy lie. */
static int protected_folder(const char *folder)
{
    char mine[DOS_PATH + 60];
    char other[DOS_PATH + 60];
    if (dos_truename(folder, mine)) return 1;
    if (same_folder(mine, source_true)) return 1;
    return (dos_truename("C:\\QMSAFE1", other) == 0 && same_folder(mine, other)) ||
           (dos_truename("C:\\QMSAFE2", other) == 0 && same_folder(mine, other));
}

static int plan_entry(const struct Entry *e, struct Plan *p)
{
    struct FindData fd;
    char text[DOS_PATH];
    unsigned attr;
    unsigned long size, crc;

    /* The copy's DOS name: recorded, or the name itself where DOS can use it. */
    if (!(e->have & HAVE_NAME) || e->name[0] == 0) return skip(p, kDamaged);
    if (e->have & HAVE_DOSNAME) {
        if ((e->bad & BAD_DOSNAME) || !is_dos_name(e->dosname)) return skip(p, kDamaged);
        strcpy(p->name, e->dosname);
    } else {
        if (e->bad & BAD_NAME) return skip(p, "langer Name, nur unter Windows wiederherstellbar");
        strcpy(text, e->name);
        to_oem(text);
        if (!is_dos_name(text)) return skip(p, "langer Name, nur unter Windows wiederherstellbar");
        strcpy(p->name, text);
    }
    upcase(p->name);
    if (!join_path(p->source, source_folder, p->name)) return skip(p, kDamaged);
    if (dos_find_first(p->source, ATTR_ANY, &fd)) return skip(p, "Kopie fehlt");
    /* Start menu, Desktop, profiles: DOS would lose their long names. */
    if (fd.attr & ATTR_DIR) {
        p->kind = PLAN_FOLDER;
        return PLAN_FOLDER;
    }
    p->source_attr = fd.attr;

    if ((e->have & HAVE_CHECK) ? (e->bad & BAD_CHECK) != 0 : head.checks) return skip(p, kDamaged);
    if (!(e->have & HAVE_DIR) || (e->bad & BAD_DIR) || e->dir[0] == 0) return skip(p, "Ziel ung\201ltig");
    if (e->have & HAVE_DOSDIR) {
        /* The DOS spelling must name the same drive as the folder it spells. */
        if ((e->bad & BAD_DOSDIR) || !is_dos_path(e->dosdir) || (e->dosdir[0] | 0x20) != (e->dir[0] | 0x20))
            return skip(p, "Ziel ung\201ltig");
        strcpy(p->folder, e->dosdir);
    } else {
        strcpy(text, e->dir);
        to_oem(text);
        if ((e->bad & CUT_DIR) || !is_dos_path(text)) return skip(p, "langer Ordnername, nur unter Windows wiederherstellbar");
        strcpy(p->folder, text);
    }
    upcase(p->folder);
    if (!join_path(p->target, p->folder, p->name)) return skip(p, "Ziel ung\201ltig");
    if (dos_get_attr(p->folder, &attr) || !(attr & ATTR_DIR)) return skip(p, "Zielordner fehlt");
    if (protected_folder(p->folder)) return skip(p, "Ziel im Sicherungsordner");
    p->target_exists = dos_find_first(p->target, ATTR_ANY, &fd) == 0;
    if (p->target_exists) {
        if (fd.attr & ATTR_DIR) return skip(p, "Ziel ist ein Ordner");
        p->target_attr = fd.attr;
        p->target_size = fd.size;
    }

    /* The copy must hold what the backup checked; a copy from before checks were
     * recorded must at least arrive as it is now. */
    if (!file_check(p->source, &size, &crc)) return skip(p, "Kopie nicht lesbar");
    if (e->have & HAVE_CHECK) {
        if (size != e->size || crc != e->crc) return skip(p, "Kopie besch\204digt");
    }
    p->size = size;
    p->crc = crc;
    p->kind = PLAN_FILE;
    return PLAN_FILE;
}

/* ---- Going through the record ---- */

struct Totals {
    long restored, failed, windows_only, planned;
    unsigned long safety_room;  /* room the safety copies take on C: */
    unsigned long cluster;      /* of drive C: */
};

static struct Entry window[WINDOW];
static long gaps_shown;

static void gap(long from, long to, struct Totals *t)
{
    long i;
    for (i = from; i < to && gaps_shown < GAPS_SHOWN; ++i, ++gaps_shown)
        printf("  Eintrag %ld: unvollst\204ndig, nicht wiederhergestellt\r\n", i);
    if (to - i > 0) printf("  %ld weitere Eintr\204ge unvollst\204ndig\r\n", to - i);
    t->failed += to - from;
}

static void show(const struct Entry *e, const struct Plan *p, const char *what)
{
    char name[40];
    if (p->kind == PLAN_SKIP && p->why == kDamaged) {
        printf("  Eintrag %ld: %s\r\n", e->number, what);
        return;
    }
    if (p->name[0] && (p->kind != PLAN_SKIP || e->have & HAVE_DOSNAME)) {
        strcpy(name, p->name);
    } else {
        strcpy(name, e->name);
        to_oem(name);
    }
    if (p->kind == PLAN_FILE) printf("  %-12s %-30s %s\r\n", name, p->folder, what);
    else printf("  %-12s %s\r\n", name, what);
}

static void restore_file(struct Plan *p, struct Totals *t)
{
    unsigned long cluster, free_room, size, crc;
    unsigned attr;
    free_room = dos_disk_free((p->folder[0] & ~0x20) - 'A' + 1, &cluster);
    if (file_room(p->size, cluster) > free_room + (p->target_exists ? file_room(p->target_size, cluster) : 0)) {
        printf("  %-12s %-30s nicht wiederhergestellt: zu wenig Platz\r\n", p->name, p->folder);
        ++t->failed;
        return;
    }
    if (p->target_exists && !safety_keep(p->target, p->name, p->folder)) {
        printf("  %-12s %-30s nicht wiederhergestellt: Sicherheitskopie nicht m\224glich\r\n", p->name, p->folder);
        ++t->failed;
        return;
    }
    /* User.dat and System.dat are read-only, hidden and system: cleared for the copy
     * and set again afterwards. A new file takes the copy's. */
    attr = (p->target_exists ? p->target_attr : p->source_attr) & (ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM | ATTR_ARCHIVE);
    if (p->target_exists && (p->target_attr & (ATTR_READONLY | ATTR_HIDDEN | ATTR_SYSTEM)))
        dos_set_attr(p->target, 0);
    if (!file_copy(p->source, p->target, &size, &crc) || size != p->size || crc != p->crc) {
        if (attr) dos_set_attr(p->target, attr);
        printf("  %-12s %-30s FEHLER beim Schreiben!\r\n", p->name, p->folder);
        if (p->target_exists) printf("    Der bisherige Stand liegt in %s%s.\r\n", safety_folder(), p->name);
        ++t->failed;
        return;
    }
    dos_set_attr(p->target, attr);
    /* The shell's word was never enough; neither is DOS's. */
    if (!file_check(p->target, &size, &crc) || size != p->size || crc != p->crc) {
        printf("  %-12s %-30s FEHLER: weicht nach dem Schreiben ab!\r\n", p->name, p->folder);
        if (p->target_exists) printf("    Der bisherige Stand liegt in %s%s.\r\n", safety_folder(), p->name);
        ++t->failed;
        return;
    }
    printf("  %-12s %-30s wiederhergestellt\r\n", p->name, p->folder);
    ++t->restored;
}

/* Goes through every entry: shows what it will do (restore 0) or does it. 0 when the
 * record could no longer be read. */
static int run(int restore, struct Totals *t)
{
    struct Plan plan;
    long next = 0;
    long done = 0;
    int n, i;
    memset(t, 0, sizeof *t);
    dos_disk_free(3, &t->cluster);
    gaps_shown = 0;
    for (;;) {
        n = record_entries(record_file, &head, next, window);
        if (n < 0) {
            printf("Die Sicherung ist nicht mehr lesbar.\r\n");
            return 0;
        }
        if (n == 0) break;
        for (i = 0; i < n; ++i) {
            const struct Entry *e = &window[i];
            if (done == ENTRIES_MAX) {
                printf("  Weitere Eintr\204ge werden nicht gelesen.\r\n");
                t->failed += head.count - e->number;
                return 1;
            }
            ++done;
            gap(next, e->number, t);
            next = e->number + 1;
            memset(&plan, 0, sizeof plan);
            switch (plan_entry(e, &plan)) {
            case PLAN_FOLDER:
                show(e, &plan, kWindowsOnly);
                ++t->windows_only;
                break;
            case PLAN_SKIP:
                show(e, &plan, plan.why == kDamaged ? "besch\204digt, nicht wiederhergestellt" : plan.why);
                ++t->failed;
                break;
            default:
                ++t->planned;
                if (plan.target_exists) t->safety_room += file_room(plan.target_size, t->cluster);
                if (restore) restore_file(&plan, t);
                else show(e, &plan, "wird wiederhergestellt");
            }
        }
    }
    gap(next, head.count, t);
    return 1;
}

/* ---- Start to end ---- */

static int finish(int code)
{
    printf("\r\nDiskette entfernen und neu starten.\r\n");
    return code;
}

int main(int argc, char **argv)
{
    struct Totals plan, result;
    char drive[80];
    char answer[8];
    const char *given = 0;
    int unattended = 0;
    int i;
    unsigned long free_room, cluster;

    dos_install_handlers();
    crc_tables();
    printf("KELVRANE - Quillmark-Sicherung wiederherstellen\r\n\r\n");
    for (i = 1; i < argc; ++i) {
        if (strcmp(argv[i], "/J") == 0 || strcmp(argv[i], "/j") == 0) unattended = 1;
        else if (!given) given = argv[i];
        else {
            printf("Aufruf: KELVRANE [/J] [Ordner | Sicherung]\r\n");
            return EXIT_NOTHING;
        }
    }
    if (!choose_record(unattended, given, record_file)) return finish(EXIT_NOTHING);
    record_head(record_file, &head);
    folder_of(record_file, source_folder, sizeof source_folder);
    if (source_folder[0] == 0 || dos_truename(source_folder, source_true)) {
        printf("Der Ordner der Sicherung ist nicht erreichbar.\r\n");
        return finish(EXIT_NOTHING);
    }
    strcpy(drive, head.drive);
    to_oem(drive);
    printf("\r\nSicherung %s (gesichert nach %s)\r\n", record_file, drive);
    printf("Die Kopien werden aus %s genommen.\r\n\r\n", source_folder);

    if (!run(0, &plan)) return finish(EXIT_FAILED);
    if (plan.planned == 0) {
        printf("\r\nNichts, was sich unter DOS wiederherstellen l\204\341t.\r\n");
        /* A batch file must learn that the backup is damaged, not only that nothing ran. */
        return finish(plan.failed ? EXIT_FAILED : EXIT_NOTHING);
    }
    printf("\r\n%ld Datei(en) werden wiederhergestellt.\r\n", plan.planned);
    if (!unattended) {
        if (ask("Wiederherstellen? (J/N) ", answer, sizeof answer) <= 0 || (answer[0] != 'J' && answer[0] != 'j')) {
            printf("Nichts wiederhergestellt.\r\n");
            return finish(EXIT_NOTHING);
        }
    }

    /* Nothing is overwritten without a way back. */
    if (!safety_choose(source_folder, drive)) {
        printf("Kein Sicherheitsordner C:\\QMSAFE1 oder C:\\QMSAFE2 verwendbar: nichts wiederhergestellt.\r\n");
        return finish(EXIT_NOTHING);
    }
    free_room = dos_disk_free(3, &cluster) + safety_reclaimable(cluster);
    if (plan.safety_room + 4096UL > free_room) {
        printf("Zu wenig Platz auf C: f\201r die Sicherheitskopien: nichts wiederhergestellt.\r\n");
        return finish(EXIT_NOTHING);
    }
    if (!safety_prepare()) {
        printf("Der Sicherheitsordner %s l\204\341t sich nicht anlegen: nichts wiederhergestellt.\r\n", safety_folder());
        return finish(EXIT_NOTHING);
    }
    printf("\r\nDer bisherige Stand kommt nach %s.\r\n", safety_folder());
    if (!run(1, &result)) result.failed += 1;
    printf("\r\n%ld wiederhergestellt, %ld fehlgeschlagen, %ld nur unter Windows.\r\n", result.restored,
           result.failed, result.windows_only);
    printf("R\201ckg\204ngig machen: %s%s wiederherstellen.\r\n", safety_folder(), RECORD_NAME);
    if (result.failed) return finish(EXIT_FAILED);
    return finish(result.restored ? EXIT_ALL : EXIT_NOTHING);
}
