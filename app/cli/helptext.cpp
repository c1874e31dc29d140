// SPDX-FileCopyrightText: 2026 The Marrowby developers
// SPDX-License-Identifier: MIT
#include "app/cli/helptext.h"

#include "app/settings/settings.h"

#include <array>
#include <string_view>

#ifndef MRB_VERSION
#define MRB_VERSION "unknown"
#endif

namespace mrb::cli
{

namespace
{

// One line of a two-column list: a term and what it does. A new option or
// exit code is one more row in one of the tables below.
struct HelpRow {
    std::string_view term;
    std::string_view text;
};

constexpr HelpRow modeRows[] = {
    {"-o OUTPUT PATH...",
        "add each PATH as Add To Destination adds a selected row (a folder with its total size, or with what "
        "lies below it when Common.Sub is True) and write the listing to OUTPUT as Make does. The format follows "
        "Output.FileType, Output.Standard and OUTPUT's extension (.pls, .htm, .html, .xls, .xlsx). With -o "
        "/dev/stdout the listing alone goes down the pipe, and the closing message to the error stream"},
    {"--show FOLDER",
        "print the source listing a click on FOLDER shows, one row a line: name, path, size, type, created, "
        "modified, accessed and tag, separated by TAB. A backslash, TAB, line feed or carriage return inside a "
        "field is written as \\\\, \\t, \\n or \\r, so a row is always one line. A FOLDER that cannot be read "
        "fails with the reason"},
    {"--print-settings", "print the 18 settings after the start-up check, one Section.Key=Value a line"},
};

constexpr HelpRow optionRows[] = {
    {"--settings FILE",
        "read and check the settings in FILE; its folder holds the \"output\" folder. Without it: options.dll "
        "beside the program, or in $XDG_CONFIG_HOME/marrowby for an installed copy or an unwritable folder"},
    {"--set Section.Key=Value", "use Value for one setting in this run only; the file is not changed"},
    {"--filter PATTERN", "with --show: list the files matching PATTERN (*.*, or several such as *.mp3;*.ogg)"},
    {"--format FORMAT",
        "with -o: write OUTPUT in one of the formats below instead of the one the settings choose; without it "
        "the bytes are exactly the window's"},
    {"--relative-to DIR",
        "with --format m3u8: write each path relative to the folder DIR (the playlist's folder, so the "
        "playlist and its files can move together)"},
    {"--tags",
        "with --format csv, jsonl or catalog: read the tags of audio and video files and add them as fields: "
        "length (seconds), title, artist, album, album_artist, track, disc, year, genre, bitrate (kbit/s) and "
        "sample_rate (Hz), empty or null when unknown; the catalog shows length, artist, title and album and "
        "searches them"},
    {"--no-tags", "with --format m3u8: read no tags (#EXTINF:-1 and the name less its extension), for speed"},
    {"--all-files", "with --format m3u8: every file, not only audio and video files"},
    {"--per-folder",
        "with --format m3u8: one playlist for each folder that directly holds audio or video files, named after "
        "the folder (Album.m3u8), all written into the folder OUTPUT (made when missing); folders of the same "
        "name are named after their path below the folder they share (Artist - Album - CD1.m3u8). Prints one "
        "line for each playlist"},
    {"--beside",
        "with --per-folder, in place of -o OUTPUT: each playlist goes into the folder it lists, its paths "
        "relative to that folder: mrb-list --set Common.Sub=True --format m3u8 --per-folder --beside ~/Music"},
    {"--hidden", "with --show: list hidden items too (names beginning with a point)"},
    {"--system", "with --show: list system items too (FIFOs, sockets, devices)"},
    {"-h, --help", "show this help and exit"},
    {"--version", "show the version and the component library in use, and exit"},
};

// What each setting takes, in record order; the defaults come from the
// settings table itself.
constexpr std::array<HelpRow, core::settingCount> settingRows = {{
    {"True|False", "show and write the Path column"},
    {"True|False", "show and write the Size column"},
    {"Bytes|KB|MB|GB", "the unit of sizes"},
    {"0..9", "decimals of sizes"},
    {"True|False", "show and write the Type column"},
    {"True|False", "show and write the modified date"},
    {"True|False", "show and write the created date"},
    {"True|False", "show and write the last-accessed date"},
    {"True|False", "a folder brings everything below it"},
    {"Files|Folders|FF", "what that deep add takes: files, folders, or both"},
    {"Playlist|PBR|Customize", "playlist, resource list or a table of the shown columns"},
    {"TEXT", "the field separator of Customize; {Tab}, {Spaces} and {New Line} stand for a tab, a blank, a line break"},
    {"0..9", "how many more times the separator is repeated"},
    {"True|False", "one full path a line"},
    {"FOLDER", "the folder offered for outputs (default: \"output\" beside the settings file)"},
    {"True|False", "a first line of column names"},
    {"True|False", "delete the listed files and empty folders once the output is written"},
    {"True|False", "the window's options dialog before Make; no effect here"},
}};

// Each format with what it holds and a short example.
constexpr HelpRow formatRows[] = {
    {"csv",
        "RFC 4180, UTF-8: a header line, then one record an item with the fields name, path, size (bytes; a "
        "folder's total, empty when unknown), type, modified, created, accessed (ISO 8601 with the UTC offset, "
        "empty when unknown) and kind (file or folder). Fields with a comma, quote or line break are quoted, "
        "quotes doubled; lines end with CR LF. A record: \"Live, 1999.mp3\",/M,5120,MP3 "
        "audio,2026-03-01T10:00:00+01:00,,,file"},
    {"jsonl",
        "one JSON object a line with the same fields (null when unknown). A name or path that is not valid "
        "UTF-8 has U+FFFD for each bad byte, and its exact bytes in Base64 in name_bytes or path_bytes. A line: "
        "{\"name\":\"Live, 1999.mp3\",\"size\":5120,...,\"kind\":\"file\"}"},
    {"catalog",
        "one web page that needs nothing else (no network): a folder tree with the count and size of what "
        "lies below each folder, a table sorted by a click on any column header, and a search box that "
        "filters the names as you type; quick at hundreds of thousands of items. For a drive: mrb-list --set "
        "Common.Sub=True --set Common.Item=FF --format catalog -o usb.html /media/usb"},
    {"m3u8",
        "an extended M3U playlist in UTF-8 of the audio and video files (by their type; folders, pictures and "
        "other files are left out unless --all-files): #EXTM3U, then for each file #EXTINF: with its length in "
        "seconds (-1 when unknown), a comma and ARTIST - TITLE from its tags (the name less its extension when "
        "it has no title), #EXTALB: with the album and #EXTART: with the album artist (or the artist) where the "
        "tags have them, and its path on the next line. The closing line counts the entries written. A path "
        "with a line break cannot be written; one line on stderr counts what was left out. A path that is not valid "
        "UTF-8 is written "
        "as a file:// URI. With --relative-to /M, the file /M/Live/01 Intro.flac of 4:05, tagged The Band, "
        "Intro and Live, gives the lines #EXTINF:245,The Band - Intro, #EXTALB:Live, #EXTART:The Band and "
        "Live/01 Intro.flac"},
};

// The catalog: snapshots of folders kept in one file or on a server, searched and compared
// while the drives are away.
constexpr HelpRow catalogRows[] = {
    {"catalog add [--label TEXT] [--no-tags] DIR...",
        "walk each DIR with everything below it, as the deep add does, and store it as a snapshot with the tags "
        "of its audio and video files (--no-tags: none, for speed); print each snapshot's number. All of them are "
        "stored together or none: Ctrl+C (exit 130) and a failure store "
        "nothing. Exit 3: stored, but some folders could not be read (each is named)"},
    {"catalog list",
        "the snapshots: number, volume (its label, else its UUID, else its mount point), root, time taken, "
        "entries, total size in bytes, label"},
    {"catalog search [--snapshot N] [--limit K] PATTERN",
        "the entries of every snapshot (or of N) whose name matches PATTERN when it holds * or ? (as the "
        "filter box takes it: *.mp3;*.ogg), else whose full path or (a media file's) artist, album or title holds "
        "PATTERN, letters without "
        "regard to case: snapshot, volume, full path, size, modified"},
    {"catalog diff OLD NEW",
        "what was added, removed, changed (size or modified time) and moved or renamed from snapshot OLD to "
        "NEW, by path below each root. Exit 0 when they hold the same, 1 when they differ, 2 when they "
        "cannot be compared. --format catalog -o FILE writes the changes as a catalog page"},
    {"catalog export N -o FILE",
        "write snapshot N as -o writes its folder with everything below it: the settings, FILE's extension "
        "and --format choose the output, byte for byte what the walk gave. --all --format catalog -o FILE "
        "writes one page of every snapshot"},
    {"catalog remove N", "delete snapshot N and what only it used"},
    {"catalog init", "make the catalog, empty, when there is none yet (the first add also makes it)"},
    {"catalog copy --from A --to B [N...]",
        "copy snapshots N (or every one) from catalog A to catalog B, a file or a server either way, all or "
        "none; print each copy's number in B"},
};

constexpr HelpRow catalogOptionRows[] = {
    {"--catalog FILE|ADDRESS",
        "the catalog to use (made by the first add): a file, or a PostgreSQL server's address "
        "(postgresql://user@host/db, postgresql:// alone for the PG* variables, or key=value words such as "
        "service=archive; the password from ~/.pgpass or PGPASSWORD, never in the address); without it "
        "$MRB_CATALOG, else $XDG_DATA_HOME/marrowby/catalog.db, by default ~/.local/share/marrowby/catalog.db"},
    {"--format text|csv|jsonl",
        "what catalog commands print: TAB-separated lines escaped as --show does (the default), csv with a "
        "header line, or one JSON object a line; times in ISO 8601"},
    {"--label TEXT", "with catalog add: the snapshot's label"},
    {"--no-tags", "with catalog add: read no tags of audio and video files, for speed"},
    {"--from A, --to B", "with catalog copy: the catalogs to copy from and to (files or servers' addresses)"},
    {"--snapshot N", "with catalog search: search snapshot N only"},
    {"--limit K", "with catalog search: print at most K entries"},
    {"--all", "with catalog export: every snapshot, each a folder of its own at the top of the page"},
};

constexpr HelpRow exitRows[] = {
    {"0", "done"},
    {"1", "the output, or the listing asked for, could not be made (also when memory ran out); nothing was deleted"},
    {"2", "usage error"},
    {"3", "written, but incomplete: some folders could not be read (each is named on the error stream)"},
    {"130",
        "interrupted (Ctrl+C, SIGINT) during the add: the add stopped at the next folder and OUTPUT holds "
        "the items added before. A second interrupt, or one while writing, ends at once and leaves no "
        "temporary file; an existing OUTPUT stays as it was"},
};

constexpr std::size_t lineWidth = 79;
constexpr std::size_t textColumn = 28;

// Appends text wrapped at lineWidth, its lines after the first indented to
// the text column.
void appendWrapped(std::string &out, std::string_view text, std::size_t column)
{
    std::size_t at = column;
    bool first = true;
    while (!text.empty()) {
        const auto space = text.find(' ');
        const std::string_view word = text.substr(0, space);
        text = space == std::string_view::npos ? std::string_view() : text.substr(space + 1);
        if (!first && at + 1 + word.size() > lineWidth) {
            out += '\n';
            out.append(textColumn, ' ');
            at = textColumn;
        } else if (!first) {
            out += ' ';
            ++at;
        }
        out += word;
        at += word.size();
        first = false;
    }
    out += '\n';
}

void appendRow(std::string &out, std::string_view term, std::string_view text)
{
    out += "  ";
    out += term;
    std::size_t at = 2 + term.size();
    if (at + 2 > textColumn) {
        // a long term gets a line of its own
        out += '\n';
        at = 0;
    }
    out.append(textColumn - at, ' ');
    appendWrapped(out, text, textColumn);
}

template <class Rows> void appendRows(std::string &out, std::string_view heading, const Rows &rows)
{
    out += '\n';
    out += heading;
    out += '\n';
    for (const HelpRow &row : rows)
        appendRow(out, row.term, row.text);
}

} // namespace

std::string usageText()
{
    return "Usage: mrb-list [OPTION]... -o OUTPUT PATH...\n"
           "  or:  mrb-list [OPTION]... --format m3u8 --per-folder --beside PATH...\n"
           "  or:  mrb-list [OPTION]... --show FOLDER\n"
           "  or:  mrb-list [OPTION]... --print-settings\n"
           "  or:  mrb-list [OPTION]... catalog COMMAND [ARG]...\n";
}

std::string helpText()
{
    std::string out = usageText();
    out += "Makes listings of files and folders as Marrowby's window does, without one.\n";
    appendRows(out, "Modes (exactly one):", modeRows);
    appendRows(out, "Options:", optionRows);

    out += "\nSettings (for --set; [default]; a switch is on only when exactly True):\n";
    for (std::size_t i = 0; i < core::settingCount; ++i) {
        const core::SettingKey &key = core::settingKeys[i];
        std::string term = std::string(key.section) + "." + key.key + "=" + std::string(settingRows[i].term);
        std::string text(settingRows[i].text);
        if (*key.defaultText)
            text += std::string(" [") + key.defaultText + "]";
        appendRow(out, term, text);
    }
    appendRows(out, "Formats (--format):", formatRows);
    appendRows(out, "Catalog commands (--settings and --set go before or after them):", catalogRows);
    appendRows(out, "Catalog options:", catalogOptionRows);
    appendRows(out, "Exit status:", exitRows);
    return out;
}

std::string tryHelpText()
{
    return "Try 'mrb-list --help' for more information.\n";
}

std::string versionText(const std::string &libraryLine)
{
    return "mrb-list (Marrowby) " MRB_VERSION "\n" + libraryLine + "\n";
}

} // namespace mrb::cli
