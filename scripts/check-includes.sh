#!/usr/bin/env bash
# Checks the include direction of src/: a file may include headers of its own
# folder and of the folders listed for it below, nothing else of ours. The
# composition root is on top, the platform interfaces at the bottom:
#
#   app > onboarding > panel, settings > notch > shelf, sources
#       > preferences, ui > platform
#
# platform/linux (the backends) is included only by app. X11, D-Bus, libical,
# PulseAudio and libcanberra headers belong to platform/linux alone, Qt Widgets
# to helper (the separate helper program) alone.
#
# Headers of other folders are named by their path from src/ ("notch/Foo.h");
# a bare name must be a file beside the includer. Prints one line per
# violation and fails if there is any.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root/src"

# folder: the other folders its files may include.
allowed='
app:            panel settings onboarding notch shelf sources preferences ui platform platform/linux
panel:          notch shelf sources preferences ui platform
settings:       notch shelf sources preferences ui platform
onboarding:     settings notch shelf sources preferences ui platform
notch:          shelf sources preferences ui platform
shelf:          preferences ui platform
sources:        preferences ui platform
preferences:    platform
ui:             platform
platform:
platform/linux: platform
helper:         platform
'

# family; pattern of the header name; folders that may include it
system_headers='
X11; ^(xcb/|X11/); platform/linux
D-Bus; ^(QtDBus/|QDBus); platform/linux
libical; ^(libical/|ical\.h$); platform/linux
PulseAudio; ^pulse/; platform/linux
libcanberra; ^canberra\.h$; platform/linux
Qt Widgets; ^(QtWidgets/|QApplication$|QWidget$|QFileDialog$|QSystemTrayIcon$|QMenu$|QMessageBox$); helper'

mapfile -t files < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%P\n' | sort)
[ "${#files[@]}" -gt 0 ] || { echo "check-includes: no sources under $PWD" >&2; exit 1; }
awk -v allowed="$allowed" -v systems="$system_headers" '
function folder_of(path,    parts) {
    split(path, parts, "/")
    if (parts[1] == "platform" && parts[2] == "linux" && path ~ /^platform\/linux\//)
        return "platform/linux"
    return parts[1]
}
function dir_of(path) {
    sub(/\/[^\/]*$/, "", path)
    return path
}
function report(message) {
    printf "%s:%d: %s\n", FILENAME, FNR, message
    failed = 1
}
BEGIN {
    n = split(allowed, lines, "\n")
    for (i = 1; i <= n; ++i) {
        if (lines[i] !~ /:/)
            continue
        name = lines[i]; sub(/:.*/, "", name)
        known[name] = 1
        rest = lines[i]; sub(/^[^:]*:/, "", rest)
        m = split(rest, deps, " ")
        for (j = 1; j <= m; ++j)
            may[name, deps[j]] = 1
    }
    n = split(systems, lines, "\n")
    for (i = 1; i <= n; ++i) {
        if (split(lines[i], f, "; ") != 3)
            continue
        families[++families_count] = f[1]
        pattern[families_count] = f[2]
        owners[families_count] = f[3]
    }
    for (i = 1; i < ARGC; ++i) {
        folder = folder_of(ARGV[i])
        if (!(folder in known) && !(folder in unlisted)) {
            unlisted[folder] = 1
            printf "%s: folder without a row in the table of scripts/check-includes.sh\n", folder
            failed = 1
        }
    }
}
FNR == 1 {
    here = folder_of(FILENAME)
}
/^[ \t]*#[ \t]*include[ \t]*[<"]/ {
    line = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*/, "", line)
    quote = substr(line, 1, 1)
    target = substr(line, 2)
    sub(quote == "<" ? ">.*" : "\".*", "", target)

    for (k = 1; k <= families_count; ++k) {
        if (target ~ pattern[k] && index(" " owners[k] " ", " " here " ") == 0)
            report(families[k] " header <" target "> outside " owners[k])
    }
    if (target !~ /\//) {
        if (quote == "\"" && target !~ /\.moc$/) {
            beside = dir_of(FILENAME) "/" target
            if ((getline probe < beside) < 0)
                report("\"" target "\" is not beside this file: name it by its path from src/")
            close(beside)
        }
        next
    }
    there = folder_of(target)
    if (!(there in known)) {
        if (quote == "\"")
            report("\"" target "\" is not in a folder of src/")
        next
    }
    if (there != here && !((here, there) in may))
        report(here " may not include " there " (\"" target "\")")
}
END { exit failed }
' "${files[@]}"
