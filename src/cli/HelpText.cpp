#include "cli/HelpText.h"

namespace kestrava::cli {

const std::string_view HelpText =
    R"(Usage: kestrava-log [--log FILE] COMMAND [ARGUMENTS]

Reads Kestrava's history log: its entries, what changed between two of them,
the files of one, what happened to a file from entry to entry; takes a
snapshot into it without the window; and keeps it
small, moving older entries into the history store beside it (the log's name
followed by ".history"), which every command reads as the older part of the
same history.

Commands:
  entries [--json]           one line per entry: its number, its date and time,
                             how many files it lists, and +added -removed
                             Mmodified against the entry before it
  diff [FROM [TO]] [--json]  what changed from entry FROM to entry TO (the last
                             two unless given; one number is compared with the
                             newest): "+ PATH", "- PATH", "M PATH" lines, sorted
                             by path, then a summary line
  show [N] [--csv | --json | --raw]
                             the files of entry N (the newest unless given);
                             --raw: the whole entry byte for byte as logged
  history PATTERN... [--json]
                             for every path a PATTERN matches, in any entry:
                             the entries where it appeared, changed (size or
                             date, before -> after) and vanished, and came
                             back; the first entry's files appeared there
  snapshot FOLDER [PATTERN OPTIONS]
                             takes a snapshot of FOLDER with Kestrava's own
                             engine and appends it to the log as one entry;
                             without pattern options, the window's very entry
  compact [--keep-text N]    moves every entry but the newest N (1 unless
                             given) from the log into the history store; the
                             window and snapshot may go on writing meanwhile
  prune KEEP RULES [--dry-run] [--json]
                             every entry with the rules that keep it; those
                             no rule keeps are removed from the store and the
                             log alike (--dry-run: only said). Rules, any
                             number of them, each keeping what it names:
      --keep-last N          the newest N entries
      --keep-hourly N        the newest entry of each of the newest N hours
      --keep-daily N         ... days,
      --keep-weekly N        ... weeks (Monday to Sunday),
      --keep-monthly N       ... months,
      --keep-yearly N        ... years that hold entries (local time)
      --keep-within DURATION every entry within DURATION of the newest, such
                             as 7d, 2d12h or 1y6m (y, m, d, h)
                             The newest and the oldest entry, and one whose
                             date can't be read, are always kept
  report [FROM [TO]] --html FILE [PATTERN OPTIONS]
                             entries FROM to TO (every entry unless given) as
                             one web page to open in a browser: a timeline,
                             what changed between two entries picked on it,
                             the folders that grew most, and the folders of
                             any entry with a search by file name

Entries count from 1, the oldest; a negative number counts from the newest
(-1 is the newest, -2 the one before it).

Options:
  --log FILE     the history log (the one Kestrava's window writes unless given)
  --json, --csv  the output as JSON (UTF-8), or as CSV (RFC 4180)
  --help         this text
  --version      the version

Pattern options (snapshot and the commands that read: entries, diff, show,
history, report), each as often as needed:
  --exclude PATTERN    leaves out what PATTERN matches; a folder left out is
                       not read at all, nor anything below it; a file left
                       out is in no entry read: not counted, not compared
  --include PATTERN    keeps what PATTERN matches, though an earlier pattern
                       left it out (not below a folder left out)
  --exclude-from FILE  the patterns of FILE, one a line, in this place: blank
                       lines and lines that begin with "#" say nothing, a
                       line that begins with "!" includes
  --ignore-case        upper and lower case alike (always so on Windows)
The last pattern that matches a path decides; a path that none matches is
kept, unless the first pattern is an --include: then only what is included is.

Patterns are written as in .gitignore files and match paths below FOLDER:
  *.tmp              a name at any depth: "*" and "?" stay within one name
  node_modules/      a trailing "/": a folder (and all below it), not a file
  /build/            a leading "/": FOLDER/build alone, not src/build
  docs/*.pdf         a "/" inside: from FOLDER on, as if it began with "/"
  **/cache, a/**/b   "**" between slashes: any run of folders, or none
  [a-z] [!0-9]       one character of a class, or one not of it
  \*                 "*" itself ("\" separates folders on Windows instead)
The commands that read match the full paths of the log, as if FOLDER were the
root: "*.tmp" and "node_modules/" at any depth, "/home/ann/Documents/*.odt" (or
"C:/Users/ann/**" on Windows) from the path's start. history's PATTERNs too.

Exit status: 0 done, and for diff: nothing changed, history: a path matched;
1 diff: something changed, history: no path matched, snapshot: its entry was
written with failures; 2 an error, a pattern that can't be read among them
(snapshot: nothing was written).
)";

const std::string_view VersionText = "kestrava-log " KESTRAVA_VERSION "\n";

}  // namespace kestrava::cli
