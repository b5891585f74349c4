#!/usr/bin/env bash
# Builds tarvo-cli.exe and the tests that need no pseudo-terminal for Windows
# with Qt for MinGW (tools/qt-mingw.sh), puts each program with the DLLs and
# plugins it needs in one folder, and runs them under Wine (a prefix of its
# own in the build folder): --help and --version; the operations against
# tarvo-sim reached through tcp://127.0.0.1:PORT, whose files and verdicts
# must match those of the Linux tarvo-cli; the failures a technician meets; a
# COM port that Wine links to tarvo-sim's pseudo-terminal; the Qt tests of
# core, files, serial, device and the windows; tarvodisp.exe in a virtual X
# server, driven with xdotool through a test, a programming, a reading with
# its save window and the editor; the zip and the installer. One line a
# result; non-zero exit on any failure. Also the time of a 512-text
# programming at 9600 baud under Wine over the time of the Linux tarvo-cli,
# both through tcp:// to the same tarvo-sim.
# Folders: $TARVO_WINDOWS_BUILD_DIR (build/windows) for the Windows build,
# $TARVO_BUILD_DIR (build/test) for the Linux tarvo-cli and tarvo-sim.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
root=$(pwd)
build=$(realpath -m "${TARVO_WINDOWS_BUILD_DIR:-build/windows}")
linux=$(realpath -m "${TARVO_BUILD_DIR:-build/test}")

tools/qt-mingw.sh || exit 2
qt=$(tools/qt-mingw.sh --where) || exit 2

# The Linux programs the Windows ones are measured against.
if [ ! -f "$linux/CMakeCache.txt" ]; then
    cmake -S . -B "$linux" -DTARVO_WERROR=ON >/dev/null || exit 2
fi
cmake --build "$linux" -j"$(nproc)" --target tarvo-sim tarvo-cli >/dev/null || {
    echo "windows: the Linux tarvo-sim and tarvo-cli do not build in $linux" >&2
    exit 2
}
sim=$linux/sim/tarvo-sim
cli=$linux/tarvo-cli

start=$SECONDS
# Configured every time, so that the list of tests below has every test.
"$qt/bin/qt-cmake" -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVO_WERROR=ON \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    >"$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 2; }
tests=$(ninja -C "$build" -t targets all | grep -o '^tests/tst_[a-z_]*\.exe' | sed 's#^tests/##' | sort -u)
# shellcheck disable=SC2086
if ! cmake --build "$build" -j"$(nproc)" --target tarvodisp tarvo-cli ${tests//.exe/} >"$build.log" 2>&1; then
    grep -E 'error|FAILED' "$build.log" | head -40
    echo "windows: the Windows build failed (whole log in $build.log)" >&2
    exit 2
fi
echo "compilazione per Windows: $((SECONDS - start)) s"

# One folder: the programs, the DLLs they load (found by their import
# tables, from Qt's and the compiler's folders) and Qt's plugins.
deploy=$build/programmi
rm -rf "$deploy"
mkdir -p "$deploy"
cp "$build/tarvodisp.exe" "$build/tarvo-cli.exe" "$deploy/"
for test in $tests; do
    cp "$(find "$build/tests" -name "$test" | head -1)" "$deploy/"
done
dllFolders=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
queue=("$deploy"/*.exe)
while [ "${#queue[@]}" -gt 0 ]; do
    next=("${queue[@]}")
    queue=()
    for binary in "${next[@]}"; do
        while read -r dll; do
            [ -e "$deploy/$dll" ] && continue
            for folder in "${dllFolders[@]}"; do
                if [ -f "$folder/$dll" ]; then
                    cp "$folder/$dll" "$deploy/"
                    queue+=("$deploy/$dll")
                    break
                fi
            done
        done < <(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p')
    done
done
mkdir -p "$deploy/platforms" "$deploy/styles" "$deploy/translations"
cp "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" "$deploy/platforms/"
cp "$qt/plugins/styles/qwindowsvistastyle.dll" "$deploy/styles/"
# Qt's Italian texts: Debian's catalogue, the same file on every system,
# found through qt.conf beside the programs.
cp /usr/share/qt6/translations/qtbase_it.qm "$deploy/translations/"
printf '[Paths]\r\nPrefix = .\r\nTranslations = translations\r\n' >"$deploy/qt.conf"
echo "programmi Windows in $deploy"

# Wine, with a prefix of its own.
export WINEPREFIX=$build/wine WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1
    wineserver -w
fi
# Windows' own faces (MS Sans Serif, Tahoma, Courier), which Wine finds only
# in the Fonts folder: without them Qt draws the windows in a Linux fallback.
cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || exit 2
# One Wine server for every run, so that no run pays for starting it.
wineserver -p >"$build/wineserver.log" 2>&1
trap 'wineserver -k >>"$build/wineserver.log" 2>&1' EXIT
work=$build/prove
rm -rf "$work"
mkdir -p "$work"
cd "$work" || exit 2

failures=0
pass() { echo "ok      $1"; }
fail() {
    echo "FALLITO $1"
    failures=$((failures + 1))
}
# wine_cli NAME ARGS...: runs tarvo-cli.exe; status in $status, output in NAME.out/.err.
wine_cli() {
    local name=$1
    shift
    timeout 300 wine "$deploy/tarvo-cli.exe" "$@" >"$name.out" 2>"$name.err" </dev/null
    status=$?
}
# expect NAME STATUS TEXT: the run ended with STATUS and said TEXT.
expect() {
    if [ "$status" -eq "$2" ] && grep -qF -- "$3" "$1.out" "$1.err"; then
        pass "$1: uscita $status, \"$3\""
    else
        fail "$1: uscita $status (attesa $2), attesa la frase \"$3\"; detto: $(head -c 300 "$1.out" "$1.err" | tr '\r\n' '  ')"
    fi
}

wine_cli help --help
expect help 0 "--porta PORTA"
grep -q 'COM3' help.out && pass "help: nomina le porte COM" || fail "help: non nomina le porte COM"
wine_cli version --version
expect version 0 "tarvo-cli $(sed -n 's/^project(tarvodisp VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"

# A message file of 512 texts, each different.
{
    printf 'Prova Windows\r\n'
    for address in $(seq 0 511); do printf '%03dTesto n.%03d Win\r\n' "$address" "$address"; done
    printf 'end\r\n'
} >testi.tvo

sims=()
stop_sims() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null; done
    for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null; done
    sims=()
}
trap 'stop_sims; wineserver -k >>"$build/wineserver.log" 2>&1' EXIT
# start_sim NAME OPTIONS...: a unit on a pseudo-terminal (its path in
# $pty) and, with --tcp, on a TCP port; it is ready once it printed its path.
start_sim() {
    local name=$1
    shift
    "$sim" --link "windows-$$-$name" "$@" >"sim-$name.out" 2>"sim-$name.err" &
    sims+=($!)
    simpid=$!
    for _ in $(seq 300); do
        pty=$(grep -m1 '^/' "sim-$name.out" 2>/dev/null)
        line=$(grep -m1 '^tcp://' "sim-$name.out" 2>/dev/null)
        [ -n "$pty" ] && { [ -n "$line" ] || [[ " $* " != *" --tcp "* ]]; } && return 0
        sleep 0.1
    done
    return 1
}

# A COM port that does not exist.
wine_cli missing --porta COM42 test
expect missing 2 "COM42"
wine_cli number --porta 42 test
expect number 2 "COM42"

# COM5 linked to a unit's pseudo-terminal: the port opens and the frames reach
# the unit (its memory shows it). Whether the replies come back depends on
# Wine's serial emulation, so what the program said is only reported.
start_sim com5 --dump com5-memoria.txt || fail "tarvo-sim per COM5 non parte"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com5"
# Not "com5.tvo": Windows takes COMn with any extension for the port itself.
{ printf 'COM5\r\n000Scritto da Wine \r\nend\r\n'; } >porta5.tvo
wine_cli com5 --porta COM5 invia porta5.tvo
kill "$simpid"
wait "$simpid"
if grep -qF 'Scritto da Wine' com5-memoria.txt 2>/dev/null; then
    pass "COM5 (pseudo-terminale di tarvo-sim): si apre e l'unità riceve la trama; tarvo-cli.exe: uscita $status, \"$(tr -d '\r' <com5.out | head -1)$(tr -d '\r' <com5.err | head -1)\""
else
    fail "COM5: l'unità non ha ricevuto la trama (uscita $status; $(head -c 200 com5.err))"
fi
rm -f "$WINEPREFIX/dosdevices/com5"

if ! "$sim" --help | grep -q -- '--tcp'; then
    fail "tcp://: tarvo-sim non ha --tcp (ramo i37-tcp non ancora unito): prove attraverso la rete saltate"
else
    start_sim unit --tcp 0 || fail "tarvo-sim --tcp non parte"
    wine_cli test --porta "$line" test
    expect test 0 "Tarvo risponde TA"
    wine_cli invia --porta "$line" invia testi.tvo
    expect invia 0 "DATI UGUALI  TUTTO OK"
    wine_cli leggi --porta "$line" leggi letti-windows.tvo --commento "Letti"
    expect leggi 0 ""
    "$cli" --porta "$line" leggi letti-linux.tvo --commento "Letti" >/dev/null 2>&1
    if cmp -s letti-windows.tvo letti-linux.tvo; then
        pass "leggi: il file di tarvo-cli.exe è identico byte per byte a quello di tarvo-cli Linux"
    else
        fail "leggi: i file di Windows e di Linux differiscono"
    fi
    wine_cli confronta --porta "$line" confronta testi.tvo
    "$cli" --porta "$line" confronta testi.tvo >confronta-linux.out 2>&1
    linux_status=$?
    if [ "$status" -eq "$linux_status" ] && diff -q <(tr -d '\r' <confronta.out) confronta-linux.out >/dev/null; then
        pass "confronta: uscita $status e righe uguali a quelle di Linux"
    else
        fail "confronta: uscita $status (Linux $linux_status) o righe diverse"
    fi
    sed -i '2s/.*/000Cambiato Win  \r/' testi.tvo
    wine_cli diversi --porta "$line" invia testi.tvo --solo-diversi
    expect diversi 0 "scritto 1 testo, 511 erano già uguali"
    wine_cli diagnosi --porta "$line" diagnosi
    "$cli" --porta "$line" diagnosi >diagnosi-linux.out 2>&1
    linux_status=$?
    # The same findings; only the times may differ.
    untimed() { tr -d '\r' | sed -E 's/[0-9]+ ms/N ms/g'; }
    if [ "$status" -eq "$linux_status" ] && diff -q <(untimed <diagnosi.out) <(untimed <diagnosi-linux.out) >/dev/null; then
        pass "diagnosi: uscita $status, righe uguali a quelle di Linux: $(tail -1 diagnosi-linux.out)"
    else
        fail "diagnosi: uscita $status (Linux $linux_status): $(head -c 200 diagnosi.out)"
    fi
    stop_sims

    start_sim silent --tcp 0 --silent-from 1 || fail "tarvo-sim muta non parte"
    wine_cli muta --porta "$line" leggi muta.tvo
    expect muta 1 "000"
    stop_sims

    # Ctrl+C: Wine delivers a console's Ctrl+C only to a program with a
    # Windows console, which a pipe-driven run has not.
    start_sim slow --tcp 0 --baud 9600 || fail "tarvo-sim lenta non parte"
    timeout 300 wine "$deploy/tarvo-cli.exe" --porta "$line" leggi ctrlc.tvo \
        >ctrlc.out 2>ctrlc.err </dev/null &
    runner=$!
    sleep 3
    kill -INT "$runner" # timeout hands the signal on to the program
    wait "$runner"
    status=$?
    if [ "$status" -eq 130 ]; then
        pass "Ctrl+C a metà: uscita 130, $(tr -d '\r' <ctrlc.err | tail -1)"
    else
        echo "nota    Ctrl+C a metà: Wine non lo consegna a un programma senza console (uscita $status)"
    fi
    stop_sims

    # The same programming at 9600 baud, Linux then Wine, to the same unit.
    start_sim paced --tcp 0 --baud 9600 || fail "tarvo-sim a 9600 baud non parte"
    sed -i '2s/.*/000Testo n.000 Win\r/' testi.tvo
    t0=$(date +%s%N)
    "$cli" --porta "$line" invia testi.tvo >/dev/null 2>&1
    t1=$(date +%s%N)
    wine_cli paced --porta "$line" invia testi.tvo
    t2=$(date +%s%N)
    stop_sims
    # Wine's own start, measured on --version, is no wait of the program's.
    t3=$(date +%s%N)
    wine "$deploy/tarvo-cli.exe" --version >/dev/null 2>&1 </dev/null
    t4=$(date +%s%N)
    linux_ns=$((t1 - t0)) wine_ns=$((t2 - t1)) start_ns=$((t4 - t3))
    echo "tempo invia 512 testi a 9600 baud: Linux $((linux_ns / 1000000)) ms," \
         "Wine $((wine_ns / 1000000)) ms di cui $((start_ns / 1000000)) ms per avviare Wine;" \
         "rapporto $(awk -v w="$wine_ns" -v s="$start_ns" -v l="$linux_ns" 'BEGIN { printf "%.3f senza l'\''avvio di Wine, %.3f con", (w - s) / l, w / l }') (obiettivo 1.05)"
fi

# The Qt tests that need no pseudo-terminal, the windows' with the offscreen
# platform (Wine hands a Windows program QT_ variables only as WINEQT_), run
# from the build folder where their sources' relative paths lead. Their
# results go to a file: under Wine a test's own standard output reaches no pipe.
for test in $tests; do
    if (cd "$build" && WINEQT_QPA_PLATFORM=offscreen timeout 300 wine "$deploy/$test" \
        -o "$work/$test.txt,txt" >"$work/$test.out" 2>&1); then
        pass "$test: $(grep -a '^Totals' "$test.txt" | tr -d '\r')"
    else
        fail "$test: $(grep -a -E '^(FAIL|Totals)' "$test.txt" 2>/dev/null | tr -d '\r' | head -5 | tr '\n' ' ')"
    fi
done

# The window under Wine, in a virtual X server and a Wine desktop of its own
# (without a window manager Wine gives its windows no title bar), opened in a
# folder holding the example file and driven with the mouse and the keyboard
# against a unit reached through tcp://. What a box says is read through the
# clipboard; screenshots are kept to look at.
cd "$work" || exit 2
mkdir -p finestra
sed 's/$/\r/' "$root/fuzz/corpus/esempio.tvo" >finestra/esempio.tvo
Xvfb -displayfd 3 -screen 0 1024x768x24 3>xvfb-display >/dev/null 2>&1 &
xvfb=$!
for _ in $(seq 100); do [ -s xvfb-display ] && break; sleep 0.1; done
export DISPLAY=:$(cat xvfb-display)
# window_named PATTERN SECONDS: the X window of that title, once it shows.
window_named() {
    local found
    for _ in $(seq $(($2 * 10))); do
        found=$(xdotool search --name "$1" 2>/dev/null | head -1)
        [ -n "$found" ] && { echo "$found"; return 0; }
        sleep 0.1
    done
    return 1
}
# click WINDOW X Y: a click at that point of the window, its frame included.
click() {
    local x y
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $4 }
        /Absolute upper-left Y/ { y = $4 } END { print x, y }')
    xdotool mousemove $((x + $2)) $((y + $3)) click 1
    sleep 0.3
}
# box_text WINDOW X Y: what the box at that point holds, copied as an operator would.
box_text() {
    click "$@"
    xdotool key ctrl+a ctrl+c
    sleep 0.3
    xclip -o -selection clipboard 2>/dev/null
}
# expect_box NAME WINDOW X Y TEXT SECONDS: the box comes to say TEXT in time.
expect_box() {
    local said=""
    for _ in $(seq "$6"); do
        said=$(box_text "$2" "$3" "$4")
        [[ $said == *"$5"* ]] && { pass "$1: \"$said\""; return 0; }
        sleep 1
    done
    fail "$1: atteso \"$5\", la casella dice \"$said\""
}
start_sim window --tcp 0 --dump finestra-memoria.txt || fail "tarvo-sim per la finestra non parte"
(
    cd finestra || exit 2
    exec wine explorer /desktop=tarvodisp,1024x768 "$deploy/tarvodisp.exe" \
        >../finestra.out 2>../finestra.err
) &
shot=$build/finestra-windows.png
if main=$(window_named '^Tarvo ' 30); then
    sleep 2 # the lists fill after the window shows
    import -window root "$shot"
    pass "tarvodisp.exe: la finestra principale si apre sotto Wine, fotografata in $shot"
    # Where the controls are, from the window's top left corner.
    portBox=(196 365) lowerBox=(224 286) firstFile=(447 71) driveList=(67 73)
    testButton=(112 417) sendButton=(277 417) readButton=(437 416) editButton=(507 259)
    click "$main" "${portBox[@]}"
    xdotool key ctrl+a
    xdotool type --delay 20 "$line"
    click "$main" "${testButton[@]}"
    expect_box "finestra, Test Funzionamento" "$main" "${lowerBox[@]}" "Tarvo risponde TA" 20
    # The port list (F4 in the port box) and the drive list, to look at.
    click "$main" "${portBox[@]}"
    xdotool key F4
    sleep 1
    import -window root "$build/porte-windows.png"
    xdotool key Escape
    click "$main" "${driveList[@]}"
    sleep 1
    import -window root "$build/unita-windows.png"
    xdotool key Escape
    click "$main" "${firstFile[@]}"
    click "$main" "${sendButton[@]}"
    expect_box "finestra, Invia file al TARVO di esempio.tvo" "$main" "${lowerBox[@]}" \
        "DATI UGUALI  TUTTO OK" 120
    click "$main" "${readButton[@]}"
    if save=$(window_named '^FormSalvaFile$' 120); then
        import -window root "$build/salva-windows.png"
        click "$save" 353 244
        xdotool key ctrl+a
        xdotool type --delay 20 "letti.tvo"
        click "$save" 260 288
        xdotool type --delay 20 "Letti nella finestra"
        click "$save" 468 430
        for _ in $(seq 100); do [ -s finestra/letti.tvo ] && break; sleep 0.1; done
        "$cli" --porta "$line" leggi letti-finestra-linux.tvo --commento "Letti nella finestra" \
            >/dev/null 2>&1
        if cmp -s finestra/letti.tvo letti-finestra-linux.tvo; then
            pass "finestra, Leggi Testi dal TARVO: salvato dalla finestra di salvataggio, identico a quello di tarvo-cli Linux"
        else
            fail "finestra, Leggi Testi dal TARVO: il file salvato manca o differisce da quello di tarvo-cli Linux"
        fi
    else
        fail "finestra, Leggi Testi dal TARVO: la finestra di salvataggio non si apre"
    fi
    # esempio.tvo is the first file again, before letti.tvo.
    click "$main" "${firstFile[@]}"
    click "$main" "${editButton[@]}"
    if editor=$(window_named '^Edita Messaggi' 30); then
        sleep 1
        import -window root "$build/editor-windows.png"
        # The texts area fills the window below its top third.
        read -r width height < <(xwininfo -id "$editor" | awk '/Width:/ { w = $2 }
            /Height:/ { h = $2 } END { print w, h }')
        shown=$(box_text "$editor" $((width / 2)) $((height * 3 / 4)))
        if [[ $shown == *"BENVENUTI"* ]]; then
            pass "finestra, Modifica Testi: l'editor mostra esempio.tvo, fotografato in $build/editor-windows.png"
        else
            fail "finestra, Modifica Testi: l'editor non mostra esempio.tvo ($(head -c 100 <<<"$shown"))"
        fi
    else
        fail "finestra, Modifica Testi: l'editor non si apre"
    fi
else
    fail "tarvodisp.exe: nessuna finestra in 30 s ($(head -c 200 finestra.err))"
fi
wineserver -k >>"$build/wineserver.log" 2>&1
stop_sims
if grep -qF 'BENVENUTI' finestra-memoria.txt 2>/dev/null; then
    pass "finestra: la memoria dell'unità ha i testi di esempio.tvo"
else
    fail "finestra: la memoria dell'unità non ha i testi di esempio.tvo"
fi
kill "$xvfb" 2>/dev/null
wait "$xvfb" 2>/dev/null
unset DISPLAY
wineserver -p >>"$build/wineserver.log" 2>&1

# The folder to unzip and the installer; the installer installs and
# uninstalls silently, and the uninstaller leaves the user's files alone.
if packages=$("$root/tools/windows-package.sh" "$deploy" "$build/pacchetto" 2>&1); then
    installer=$(echo "$packages" | tail -1)
    pass "pacchetti: $(echo "$packages" | tr '\n' ' ')"
    target="$WINEPREFIX/drive_c/Program Files/tarvodisp"
    menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/tarvodisp"
    rm -rf "$target"
    timeout 120 wine "$installer" /S >/dev/null 2>&1
    if [ -x "$target/tarvodisp.exe" ] && [ -f "$menu/tarvodisp.lnk" ] &&
        timeout 60 wine "$target/tarvo-cli.exe" --version 2>/dev/null | grep -q '^tarvo-cli '; then
        pass "installatore: installa in silenzio (programmi, voce nel menu Start; tarvo-cli installato risponde)"
    else
        fail "installatore: dopo /S mancano i programmi o la voce nel menu Start"
    fi
    printf 'Mio\r\nend\r\n' >"$target/mio.tvo"
    timeout 120 wine "$target/Disinstalla.exe" /S >/dev/null 2>&1
    # The uninstaller runs on from a copy of itself once started.
    for _ in $(seq 200); do [ -e "$target/tarvodisp.exe" ] || break; sleep 0.1; done
    if [ ! -e "$target/tarvodisp.exe" ] && [ ! -e "$menu" ] && [ -f "$target/mio.tvo" ]; then
        pass "disinstallazione: toglie programmi e menu, lascia il file dell'utente"
    else
        fail "disinstallazione: resta qualcosa dei programmi, o manca il file dell'utente"
    fi
    rm -rf "$target"
else
    fail "pacchetti: $packages"
fi

echo "prove sotto Wine: $((SECONDS - start)) s in tutto, $failures fallite"
[ "$failures" -eq 0 ]
