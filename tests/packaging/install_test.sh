#!/usr/bin/env bash
# Installs the build tree into a staging folder and uses the installation from there, never from
# the build tree:
#   install_test.sh BUILD SOURCE WORK CHECK
# CHECK is one of: stage (install; the others need it), layout, programs, registry, manpages,
# completion, pkgconfig, desktop, destdir, reinstall.
set -uo pipefail
build=$(cd "$1" && pwd) source=$(cd "$2" && pwd) work=$3 check=$4
mkdir -p "$work"
work=$(cd "$work" && pwd)
stage=$work/stage

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
expect_eq() { [[ "$2" == "$3" ]] || fail "$1: expected [$3], got [$2]"; }
expect_file() { [[ -f "$stage/$1" ]] || fail "missing $1"; }
finish() {
    [[ $failures -eq 0 ]] && { echo "install test '$check' passed"; exit 0; }
    echo "install test '$check': $failures failure(s)" >&2
    exit 1
}

# Runs an installed program as a user who registered nothing: an empty home, no registry or
# database from the environment.
home=$work/home-$check
as_user() {
    rm -rf "$home"
    mkdir -p "$home"
    env -u KESTRUM_REGISTRY -u KESTRUM_DB -u KESTRUM_MACHINE_REGISTRY -u XDG_DATA_HOME -u LD_LIBRARY_PATH \
        HOME="$home" QT_QPA_PLATFORM=offscreen "$@"
}

is_elf() { [[ $(head -c 4 "$1" | od -An -c | tr -d ' ') == 177ELF ]]; }

help_of() { as_user "$@" --help 2>&1; }

# Option names in text: words that start with - and a letter, or a lone --.
options_in() {
    tr ' ' '\n' | sed 's/^[[(]*//; s/[])|,.:;]*$//' | tr '|' '\n' |
        grep -E '^(--?[A-Za-z][A-Za-z0-9-]*|--)$' | sort -u
}

# A manual page as plain text, lines unbroken.
man_text() {
    zcat "$1" | groff -man -Tutf8 -rLL=400n -rHY=0 -P-cbou 2>/dev/null
}

# The lines of one section of a rendered manual page.
man_section() {
    awk -v name="$1" '/^[A-Z]/ { inside = ($0 == name); next } inside'
}

case $check in
stage)
    rm -rf "$stage"
    if ! cmake --install "$build" --prefix "$stage" >"$work/install.log" 2>&1; then
        cat "$work/install.log" >&2
        fail "cmake --install failed"
    fi
    ;;

layout)
    for f in bin/kestrum bin/kestrum-regsvr bin/probeck lib/kestrum/morvane lib/kestrum/probeck \
             lib/kestrum/Morvane.chm lib/kestrum/libkestrum.so lib/kestrum/classes.reg \
             lib/libkestrum_engine.so.1 lib/libkestrum_engine.a lib/libcomrt.so.1 lib/libkestrum_ui.so.1 \
             lib/libDimsafeEditCtl.so.1 lib/cmake/Kestrum/KestrumConfig.cmake \
             include/kestrum/engine.h include/kestrum/KestrumLib.h include/comrt/comrt.h \
             include/kestrum/editctl/dimsafe_edit.h \
             share/kestrum/Unit_Database.xml share/kestrum/Unit_Database.default.xml \
             share/applications/org.kestrum.morvane.desktop share/applications/org.kestrum.probeck.desktop \
             share/metainfo/org.kestrum.morvane.metainfo.xml \
             share/icons/hicolor/scalable/apps/morvane.svg share/icons/hicolor/scalable/apps/probeck.svg \
             share/bash-completion/completions/kestrum \
             share/doc/kestrum/copyright share/doc/kestrum/changelog.gz \
             lib/pkgconfig/kestrum.pc lib/pkgconfig/kestrum-comrt.pc lib/pkgconfig/kestrum-editctl.pc; do
        expect_file "$f"
    done
    for page in kestrum kestrum-regsvr morvane probeck; do expect_file "share/man/man1/$page.1.gz"; done
    for size in 16 22 24 32 48 64 128 256; do expect_file "share/icons/hicolor/${size}x${size}/apps/morvane.png"; done
    for size in 16 32 48 256; do expect_file "share/icons/hicolor/${size}x${size}/apps/probeck.png"; done
    # Icons have the size their folder names.
    for png in "$stage"/share/icons/hicolor/*x*/apps/*.png; do
        size=${png#"$stage"/share/icons/hicolor/}
        size=${size%%/*}
        read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{ print $3 * 256 + $4, $7 * 256 + $8 }')
        expect_eq "size of $png" "${w}x${h}" "$size"
    done
    expect_eq "bin/morvane" "$(readlink -f "$stage/bin/morvane")" "$stage/lib/kestrum/morvane"
    expect_eq "lib/kestrum/Unit_Database.xml" "$(readlink "$stage/lib/kestrum/Unit_Database.xml")" \
        "../../share/kestrum/Unit_Database.xml"
    # The component server is loaded, never linked: it is not in the linker's folder.
    [[ -e "$stage/lib/libkestrum.so" ]] && fail "lib/libkestrum.so is installed beside the linked libraries"

    # Nothing installed leads back to the build tree or the sources: no text names them, no
    # program or library searches them for libraries. (The staging folder itself lies in the
    # build tree, so its own name does not count.)
    outside_stage() { sed "s|$stage||g" | grep -qF -e "$build" -e "$source"; }
    while IFS= read -r -d '' f; do
        if is_elf "$f"; then
            runpath=$(readelf -d "$f" 2>/dev/null | grep -E 'RPATH|RUNPATH')
            outside_stage <<<"$runpath" && fail "$f searches the build tree: $runpath"
        elif [[ $f == *.gz ]]; then
            zcat "$f" | outside_stage && fail "$f names the build tree or the sources"
        elif grep -qI . "$f"; then
            outside_stage <"$f" && fail "$f names the build tree or the sources"
        fi
    done < <(find "$stage" -type f -print0)
    for program in lib/kestrum/morvane lib/kestrum/probeck bin/kestrum-regsvr lib/kestrum/libkestrum.so; do
        resolved=$(env -u LD_LIBRARY_PATH ldd "$stage/$program")
        grep -q "not found" <<<"$resolved" && fail "$program: a library is not found: $resolved"
        outside_stage <<<"$resolved" && fail "$program loads a library from the build tree: $resolved"
    done
    ;;

programs)
    expect_eq "kestrum convert 1 km m" "$(as_user "$stage/bin/kestrum" convert 1 km m 2>&1)" "1000"
    expect_eq "kestrum --version" "$(as_user "$stage/bin/kestrum" --version 2>&1)" "1.01"
    expect_eq "kestrum-regsvr --version" \
        "$(as_user "$stage/bin/kestrum-regsvr" --version "$stage/lib/kestrum/libkestrum.so" 2>&1)" "1.01"
    expect_eq "morvane --version" "$(as_user "$stage/bin/morvane" --version 2>&1)" "1.01"
    # The GUI programs start with nothing registered by the user: the installation registered
    # the engine for every user.
    rm -rf "$work/shots"
    out=$(as_user "$stage/bin/morvane" --screenshots "$work/shots/morvane" 2>&1) || fail "morvane --screenshots: $out"
    count=$(find "$work/shots/morvane" -name '*.png' 2>/dev/null | wc -l)
    (( count >= 11 )) || fail "morvane --screenshots wrote $count pictures: $out"
    [[ -e "$home/.local/share/kestrum/classes.reg" ]] && fail "morvane wrote a per-user registry"
    # bin/probeck runs the demo in the folder of the shared database; a relative folder for the
    # pictures stays relative to where it was started.
    mkdir -p "$work/shots"
    out=$(cd "$work/shots" && as_user "$stage/bin/probeck" --screenshots probeck 2>&1) || fail "probeck --screenshots: $out"
    count=$(find "$work/shots/probeck" -name '*.png' 2>/dev/null | wc -l)
    (( count >= 5 )) || fail "probeck --screenshots wrote $count pictures: $out"
    ;;

registry)
    # The installation's registry names the installed server, read-only to anyone but its owner.
    machine=$stage/lib/kestrum/classes.reg
    grep -qF "@=\"$stage/lib/kestrum/libkestrum.so\"" "$machine" || fail "classes.reg does not name the installed server"
    expect_eq "mode of classes.reg" "$(stat -c %a "$machine")" "644"
    user_registry=$home/.local/share/kestrum/classes.reg
    run_morvane() { HOME=$home env -u KESTRUM_REGISTRY -u KESTRUM_MACHINE_REGISTRY -u XDG_DATA_HOME \
        QT_QPA_PLATFORM=offscreen "$stage/bin/morvane" --screenshots "$work/shots-registry" 2>&1; }
    rm -rf "$home"
    mkdir -p "$home"
    # A user's own registration wins over the machine's: a user entry naming a missing server
    # is the one used.
    clsid=$(grep -o 'CLSID\\{[0-9A-F-]*}\\InprocServer32' "$machine" | head -1)
    mkdir -p "$(dirname "$user_registry")"
    printf 'Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\%s]\n@="%s"\n' \
        "$clsid" "$work/no-such-server.so" >"$user_registry"
    out=$(run_morvane) && fail "morvane used the machine's server over the user's entry: $out"
    # Registering per user still works, and unregistering leaves the machine's registration.
    rm -f "$user_registry"
    out=$(HOME=$home env -u KESTRUM_REGISTRY -u XDG_DATA_HOME "$stage/bin/kestrum-regsvr" \
        "$stage/lib/kestrum/libkestrum.so" 2>&1) || fail "kestrum-regsvr: $out"
    grep -qF "Registered $stage/lib/kestrum/libkestrum.so in $user_registry" <<<"$out" || fail "kestrum-regsvr said: $out"
    out=$(run_morvane) || fail "morvane after a per-user registration: $out"
    out=$(HOME=$home env -u KESTRUM_REGISTRY -u XDG_DATA_HOME "$stage/bin/kestrum-regsvr" -u \
        "$stage/lib/kestrum/libkestrum.so" 2>&1) || fail "kestrum-regsvr -u: $out"
    grep -qF "InprocServer32" "$user_registry" && fail "kestrum-regsvr -u left the user's entries"
    out=$(run_morvane) || fail "morvane after unregistering per user: $out"
    grep -qF "libkestrum.so" "$machine" || fail "unregistering per user changed the machine's registry"
    ;;

manpages)
    for program in kestrum kestrum-regsvr morvane probeck; do
        page=$stage/share/man/man1/$program.1.gz
        binary=$stage/bin/$program
        # Renders without a warning.
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" 2>&1 >/dev/null)
        [[ -z $warnings ]] || fail "$program.1: $warnings"
        # Describes exactly the options --help lists, in OPTIONS (or with its command, in
        # COMMANDS); --help itself may go unlisted in the help.
        help=$(help_of "$binary")
        text=$(man_text "$page")
        [[ -n $help && -n $text ]] || { fail "$program: no --help or no manual page text"; continue; }
        from_help=$(options_in <<<"$help")
        from_page=$( { man_section OPTIONS <<<"$text"; man_section COMMANDS <<<"$text"; } | options_in | grep -vx -e --help)
        from_help=$(grep -vx -e --help <<<"$from_help")
        missing=$(comm -23 <(echo "$from_help") <(echo "$from_page") | tr '\n' ' ')
        extra=$(comm -13 <(echo "$from_help") <(echo "$from_page") | tr '\n' ' ')
        [[ -z $missing ]] || fail "$program.1 lacks options that --help lists: $missing"
        [[ -z $extra ]] || fail "$program.1 describes options --help does not list: $extra"
        grep -qF "$program" <<<"$(man_section NAME <<<"$text")" || fail "$program.1 has no NAME for $program"
    done
    # kestrum: the same commands and the same edit operations as its --help.
    help=$(help_of "$stage/bin/kestrum")
    text=$(man_text "$stage/share/man/man1/kestrum.1.gz")
    help_commands=$(awk '/^Commands:/ { inside = 1; next } /^$/ { inside = 0 } inside && /^  [a-z]/ { print $1 }' <<<"$help" | sort -u)
    page_commands=$(man_section COMMANDS <<<"$text" | awk '/^       [a-z]/ { print $1 }' | sort -u)
    [[ -n $help_commands ]] || fail "kestrum --help lists no commands"
    expect_eq "kestrum.1 commands" "$(echo $page_commands)" "$(echo $help_commands)"
    operations() { grep -oE '\b[A-Z][A-Za-z]*_[A-Za-z_]*[A-Za-z]\b' | grep -vE '^Unit_Database' | sort -u; }
    help_operations=$(awk '/^Edit operations/ { inside = 1; next } inside && /^$/ { exit } inside' <<<"$help" | operations)
    page_operations=$(man_section "EDIT OPERATIONS" <<<"$text" | operations)
    [[ -n $help_operations ]] || fail "kestrum --help lists no edit operations"
    expect_eq "kestrum.1 edit operations" "$(echo $page_operations)" "$(echo $help_operations)"
    # Every example prints what the page says, run on the installed database (my.xml is a copy
    # of it, for the edit example).
    examples=$work/man-examples
    rm -rf "$examples" && mkdir -p "$examples"
    cp "$stage/share/kestrum/Unit_Database.xml" "$examples/my.xml"
    run_example() {
        [[ -n $command ]] || return 0
        got=$(cd "$examples" && as_user env PATH="$stage/bin:$PATH" bash -c "$command" 2>&1)
        expect_eq "kestrum.1 example '$command'" "$got" "$expected"
        count=$((count + 1))
    }
    command= expected= count=0 continued=
    while IFS= read -r line; do
        if [[ -n $continued ]]; then
            command+=" ${line#"${line%%[! ]*}"}"
        elif [[ $line == '$ '* ]]; then
            run_example
            command=${line#'$ '} expected=
        else
            expected+=${expected:+$'\n'}$line
        fi
        continued=
        [[ $command == *\\ && -z $expected ]] && { command=${command%\\}; continued=1; }
    done < <(man_section EXAMPLES <<<"$text" | awk 'NF && !n { n = index($0, "$") } NF { print substr($0, n) }')
    run_example
    (( count >= 10 )) || fail "kestrum.1 shows $count examples"
    # Version and paths of this installation.
    grep -qF "Kestrum 1.01" <<<"$text" || fail "kestrum.1 does not name release 1.01"
    grep -qF "$stage/share/kestrum/Unit_Database.xml" <<<"$text" || fail "kestrum.1 does not name the installed database"
    ;;

completion)
    complete_line() {
        # Completes the last word of the line as bash would with COMP_WORDS split at spaces.
        HOME=$home env -u KESTRUM_DB bash -c '
            source "$1"; shift
            COMP_WORDS=("$@"); COMP_CWORD=$(( $# - 1 )); _kestrum
            printf "%s\n" "${COMPREPLY[@]}" | sort' _ "$stage/share/bash-completion/completions/kestrum" "$@"
    }
    k=$stage/bin/kestrum
    expect_eq "commands" "$(complete_line "$k" "" | tr '\n' ' ')" \
        "$(help_of "$k" | awk '/^Commands:/ { c = 1; next } /^$/ { c = 0 } c && /^  [a-z]/ { print $1 }' | sort -u | tr '\n' ' ')"
    # The options of the usage and the Options section, not one only mentioned in passing.
    expect_eq "options" "$(complete_line "$k" --d | tr '\n' ' ')" "--db --digits "
    expect_eq "an option's number" "$(complete_line "$k" --digits "")" ""
    expect_eq "after an option's number" "$(complete_line "$k" --digits 4 --ignore-dimensions convert 1 KILOMETRE_PER_H)" \
        "kilometre_per_hour"
    expect_eq "compatible" "$(complete_line "$k" compatible 'N*kilometre_per_h')" "N*kilometre_per_hour"
    expect_eq "a command" "$(complete_line "$k" qc)" "qconvert"
    expect_eq "a unit" "$(complete_line "$k" convert 1 KILOMETRE_PER_H)" "kilometre_per_hour"
    expect_eq "a unit in an expression" "$(complete_line "$k" convert 1 'km/kilometre_per_h')" "km/kilometre_per_hour"
    expect_eq "after an exponent" "$(complete_line "$k" symbol 'm^')" ""
    expect_eq "the value is no unit" "$(complete_line "$k" convert ki)" ""
    expect_eq "systems" "$(complete_line "$k" qconvert 1 SI E)" "English"
    expect_eq "a quantity in an expression" "$(complete_line "$k" qsymbol SI 'Force/Area_D')" "Force/Area_Density"
    expect_eq "list" "$(complete_line "$k" list "" | tr '\n' ' ')" "quantities systems units "
    expect_eq "list units" "$(complete_line "$k" list units Lengt)" "Length"
    expect_eq "factor --batch" "$(complete_line "$k" factor --b)" "--batch"
    expect_eq "edit operations" "$(complete_line "$k" --db x.xml edit "'Unit_Add furlong Length'" UnitSystem_R | tr '\n' ' ')" \
        "UnitSystem_Remove UnitSystem_Rename "
    # Names come from the database on the line.
    mkdir -p "$work/completion"
    cp "$stage/share/kestrum/Unit_Database.xml" "$work/completion/db.xml"
    as_user "$k" --db "$work/completion/db.xml" edit 'Unit_Add zyxwidth Length' >/dev/null || fail "kestrum edit failed"
    expect_eq "--db FILE" "$(complete_line "$k" --db "$work/completion/db.xml" convert 1 zyx)" "zyxwidth"
    expect_eq "the default database" "$(complete_line "$k" convert 1 zyx)" ""
    expect_eq "a FILE" "$(complete_line "$k" --db "$work/completion/d")" "$work/completion/db.xml"
    ;;

pkgconfig)
    export PKG_CONFIG_PATH=$stage/lib/pkgconfig
    mkdir -p "$work/pkgconfig"
    cd "$work/pkgconfig" || exit 1
    expect_eq "kestrum version" "$(pkg-config --modversion kestrum)" "1.0.1"
    # The README's embedding example, against the installed database.
    awk '/^## Embedding the engine/ { s = 1 } s && /^```cpp/ { c = 1; next } c && /^```/ { exit } c' \
        "$source/README.md" | sed "s|/usr/local/share/kestrum/Unit_Database.xml|$stage/share/kestrum/Unit_Database.xml|" >embed.cpp
    grep -q "kestrum::Engine" embed.cpp || fail "no embedding example in the README"
    # shellcheck disable=SC2046
    if g++ -std=c++20 -o embed embed.cpp $(pkg-config --cflags --libs kestrum) -Wl,-rpath,"$stage/lib" 2>build.log; then
        expect_eq "embedding example" "$(./embed)" "100 km/h = 27.7778 m/s"
    else
        fail "the embedding example does not build: $(cat build.log)"
    fi
    # Statically linked, it needs nothing from the installation at run time.
    # shellcheck disable=SC2046
    if g++ -std=c++20 -o embed-static embed.cpp $(pkg-config --cflags kestrum) "$stage/lib/libkestrum_engine.a" \
        $(pkg-config --libs-only-other --libs-only-l --static kestrum | sed 's/-lkestrum_engine//') 2>build.log; then
        expect_eq "embedding example, static" "$(./embed-static)" "100 km/h = 27.7778 m/s"
    else
        fail "the static embedding example does not build: $(cat build.log)"
    fi
    # The README's component example, through the installation's machine-wide registration.
    awk '/^## Using the engine component/ { s = 1 } s && /^```cpp/ { c = 1; next } c && /^```/ { exit } c' \
        "$source/README.md" | sed "s|/usr/local/share/kestrum/Unit_Database.xml|$stage/share/kestrum/Unit_Database.xml|" >component.cpp
    # shellcheck disable=SC2046
    if g++ -std=c++20 -o component component.cpp $(pkg-config --cflags --libs kestrum-comrt) -Wl,-rpath,"$stage/lib" 2>build.log; then
        expect_eq "component example" "$(as_user ./component)" "100 km/h = 27.7778 m/s"
    else
        fail "the component example does not build: $(cat build.log)"
    fi
    # A Qt host of the edit control.
    cat >editctl.cpp <<'EOF'
#include <kestrum/editctl/dimsafe_edit.h>
#include <QApplication>
#include <cstdio>
int main(int argc, char** argv) {
    QApplication app(argc, argv);
    CDimsafeEdit::Initialize(argv[1], "English", "SI");
    CDimsafeEdit edit;
    edit = 12.5;
    std::printf("%s %g\n", CDimsafeEdit::GetCurrentUnitSystem().toUtf8().constData(), edit());
    CDimsafeEdit::Terminate();
}
EOF
    # shellcheck disable=SC2046
    if g++ -std=c++20 -fPIC -o editctl editctl.cpp $(pkg-config --cflags --libs kestrum-editctl) -Wl,-rpath,"$stage/lib" 2>build.log; then
        expect_eq "edit-control host" "$(as_user ./editctl "$stage/share/kestrum/Unit_Database.xml" 2>/dev/null)" "SI 12.5"
    else
        fail "the edit-control host does not build: $(cat build.log)"
    fi
    ;;

desktop)
    for entry in "$stage"/share/applications/*.desktop; do
        out=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate $entry: $out"
        [[ -z $out ]] || fail "desktop-file-validate $entry: $out"
        # Its program is installed, and its icon is in the theme.
        program=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$entry")
        [[ -x "$stage/bin/$program" ]] || fail "$entry starts $program, which is not installed"
        icon=$(sed -n 's/^Icon=//p' "$entry")
        [[ -f "$stage/share/icons/hicolor/scalable/apps/$icon.svg" && -f "$stage/share/icons/hicolor/48x48/apps/$icon.png" ]] ||
            fail "$entry shows icon $icon, which is not installed"
    done
    metainfo=$stage/share/metainfo/org.kestrum.morvane.metainfo.xml
    out=$(appstreamcli validate --pedantic --no-net "$metainfo" 2>&1) || fail "appstreamcli validate: $out"
    grep -qE '^(E|W|I|P):' <<<"$out" && fail "appstreamcli validate --pedantic: $out"
    grep -qF '<launchable type="desktop-id">org.kestrum.morvane.desktop</launchable>' "$metainfo" ||
        fail "the metainfo does not launch org.kestrum.morvane.desktop"
    # The release it describes is the one the programs report, and the changelog's latest.
    version=$(as_user "$stage/bin/morvane" --version)
    grep -qF "<release version=\"$version\"" "$metainfo" || fail "the metainfo's release is not $version"
    expect_eq "changelog's latest release" "$(zcat "$stage/share/doc/kestrum/changelog.gz" | head -1 | sed 's/.*(\(.*\)).*/\1/')" "$version"
    ;;

destdir)
    # Staged with DESTDIR: every file lands below DESTDIR/PREFIX, and no file names DESTDIR.
    dest=$work/destdir
    rm -rf "$dest"
    DESTDIR=$dest cmake --install "$build" --prefix /opt/kestrum-test >"$work/destdir.log" 2>&1 ||
        { cat "$work/destdir.log" >&2; fail "cmake --install with DESTDIR failed"; }
    outside=$(find "$dest" -mindepth 1 \( -path "$dest/opt" -o -path "$dest/opt/kestrum-test" -o -path "$dest/opt/kestrum-test/*" \) -prune -o -print)
    [[ -z $outside ]] || fail "installed outside DESTDIR/PREFIX: $outside"
    [[ -f "$dest/opt/kestrum-test/share/kestrum/Unit_Database.xml" ]] || fail "no share/kestrum/Unit_Database.xml below DESTDIR"
    while IFS= read -r -d '' f; do
        is_elf "$f" && continue
        if [[ $f == *.gz ]]; then zcat "$f"; else cat "$f"; fi | grep -qF "$dest" && fail "$f names DESTDIR"
    done < <(find "$dest" -type f -print0)
    grep -qF '@="/opt/kestrum-test/lib/kestrum/libkestrum.so"' "$dest/opt/kestrum-test/lib/kestrum/classes.reg" ||
        fail "the staged registry does not name /opt/kestrum-test/lib/kestrum/libkestrum.so"
    grep -qx 'prefix=/opt/kestrum-test' "$dest/opt/kestrum-test/lib/pkgconfig/kestrum.pc" || fail "kestrum.pc has the wrong prefix"
    ;;

reinstall)
    # An edited database survives a new installation; the shipped one lands beside it.
    copy=$work/reinstall
    rm -rf "$copy"
    cmake --install "$build" --prefix "$copy" >/dev/null 2>&1 || fail "first install failed"
    as_user "$copy/bin/kestrum" --db "$copy/share/kestrum/Unit_Database.xml" edit 'Unit_Add zyxwidth Length' \
        'Unit_ConversionFactor_Replace zyxwidth 3' >/dev/null || fail "editing the installed database failed"
    out=$(cmake --install "$build" --prefix "$copy" 2>&1) || fail "second install failed: $out"
    expect_eq "the edited database" "$(as_user "$copy/bin/kestrum" convert 2 zyxwidth m 2>&1)" "6"
    cmp -s "$copy/share/kestrum/Unit_Database.default.xml" "$source/data/Unit_Database.xml" ||
        fail "Unit_Database.default.xml is not the shipped database"
    ;;

*)
    echo "install_test.sh: unknown check $check" >&2
    exit 2
    ;;
esac
finish
