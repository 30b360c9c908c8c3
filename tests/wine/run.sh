#!/usr/bin/env bash
# End-to-end tests of the Windows programs under Wine: velmor-setup.exe in its
# install, reinstall, uninstall, menu and failure scenarios, and velmor.exe
# itself. Usage: tests/wine/run.sh BUILD_FOLDER (the folder of the Windows
# build, holding velmor.exe, velmor-setup.exe and velmor-extension.vsix).
#
# One Wine prefix per run, inside the build folder, shared by the scenarios;
# they run one after another because they share the per-user Path value, and
# each one presets that value itself. Prints one PASS or FAIL line per check
# and a closing "wine: N passed, N failed" line; exits 1 on any failure.
set -uo pipefail

if (($# != 1)); then
    echo "usage: $0 BUILD_FOLDER" >&2
    exit 2
fi
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
work=$build/wine-tests
setup_exe=$build/velmor-setup.exe
velmor_exe=$build/velmor.exe
package=$build/velmor-extension.vsix
for file in "$setup_exe" "$velmor_exe" "$package"; do
    [[ -f $file ]] || { echo "missing $file (build the windows preset first)" >&2; exit 2; }
done

export WINEDEBUG=-all WINEPREFIX=$work/prefix WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WINEPATH LOCALAPPDATA CODE_STATUS
# Wine reads Unix arguments, environment and file names in the locale's
# encoding; UTF-8 lets the scenarios name folders in any characters.
export LC_ALL=C.UTF-8
# Every Wine call is bounded: a hung program fails its check instead of the run.
readonly step_timeout=60

passed=0
failed=0
pass() { echo "PASS $1"; passed=$((passed + 1)); }
fail() {
    echo "FAIL $1"
    shift
    printf '    %s\n' "$@"
    failed=$((failed + 1))
}

# check NAME EXPECTED ACTUAL: exact comparison, with a diff on failure.
check() {
    if [[ $2 == "$3" ]]; then
        pass "$1"
    else
        fail "$1" "expected:" "$(printf '%s' "$2" | sed 's/^/  | /')" "actual:" "$(printf '%s' "$3" | sed 's/^/  | /')"
    fi
}

windows_path() { local path=${1//\//\\}; printf 'Z:%s' "$path"; }

run_wine() { timeout "$step_timeout" wine "$@"; }

# A Wine start-up can fail now and then on a loaded machine, which a query
# would report as a missing value: a failed query is asked once more.
query_path() {
    run_wine reg query 'HKCU\Environment' /v Path 2>/dev/null ||
        { sleep 1; run_wine reg query 'HKCU\Environment' /v Path 2>/dev/null; }
}
reg_path() { query_path | tr -d '\r' | sed -n 's/^    Path    REG_[A-Z_]*    //p'; }
reg_path_state() {
    if query_path >/dev/null; then echo present; else echo absent; fi
}
set_reg_path() { run_wine reg add 'HKCU\Environment' /v Path /t REG_EXPAND_SZ /d "$1" /f >/dev/null; }
delete_reg_path() { run_wine reg delete 'HKCU\Environment' /v Path /f >/dev/null 2>&1 || true; }

# The registry stores Path as UTF-16LE. `reg query` prints it in the console's
# code page, so characters outside it are checked through .reg files instead,
# which carry a REG_EXPAND_SZ value as hex(2): its exact bytes.
utf16_hex() { printf '%s' "$1" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -d ' \n'; }
# The text of UTF-16LE bytes given as hex, for reading (a lone surrogate is left out).
utf16_text() { printf "$(sed 's/../\\x&/g' <<<"$1")" | iconv -c -f UTF-16LE -t UTF-8 2>/dev/null; }
# import_reg_path HEX: Path becomes REG_EXPAND_SZ with exactly these UTF-16LE bytes (the NUL is added).
import_reg_path() {
    local data
    data=$(sed 's/../&,/g' <<<"${1}0000")
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Environment]\r\n"Path"=hex(2):%s\r\n\r\n' \
        "${data%,}" | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$work/import.reg"
    run_wine reg import "$(windows_path "$work/import.reg")" >/dev/null 2>&1
}
# The exported Path: "hex(2) " and its UTF-16LE bytes as hex without the NUL,
# then the text itself on a second line; "absent", or the export line of another type.
exported_path() {
    rm -f "$work/export.reg"
    run_wine reg export 'HKCU\Environment' "$(windows_path "$work/export.reg")" /y >/dev/null 2>&1
    local line hex
    line=$(iconv -f UTF-16 -t UTF-8 "$work/export.reg" 2>/dev/null | tr -d '\r' | sed -e ':a' -e '/\\$/N; s/\\\n  //; ta' |
        grep '^"Path"=')
    if [[ -z $line ]]; then echo absent; return; fi
    if [[ $line != '"Path"=hex(2):'* ]]; then echo "$line"; return; fi
    hex=$(tr -d ',' <<<"${line#'"Path"=hex(2):'}")
    hex=${hex%0000}
    expected_path "$hex"
}
# What exported_path gives for a value of these UTF-16LE bytes.
expected_path() { printf 'hex(2) %s\n%s' "$1" "$(utf16_text "$1")"; }

cleanup() { wineserver -k >/dev/null 2>&1 || true; }
trap cleanup EXIT

started=$SECONDS
echo "creating the Wine prefix in $WINEPREFIX"
rm -rf "$work"
mkdir -p "$work/cases" "$work/fakes/code-yes" "$work/fakes/code-no"
if ! timeout 180 wineboot -i >"$work/wineboot.log" 2>&1 || ! timeout 120 wineserver -w; then
    fail "wine prefix" "$(tail -5 "$work/wineboot.log")"
    echo "wine: $passed passed, $failed failed"
    exit 1
fi
# A persistent server keeps the volatile environment from being re-created between runs.
wineserver -p
echo "prefix ready after $((SECONDS - started)) s"

# Fake `where` and `code` commands, found first through WINEPATH. The fake
# `code` records its arguments beside itself and exits with CODE_STATUS.
printf '@echo off\r\nexit /b 0\r\n' >"$work/fakes/code-yes/where.cmd"
# It also copies the package it is given, which shows that the path reached
# it whole (its echo writes in the console's code page).
printf '@echo off\r\n>>"%%~dp0code-args.txt" echo %%*\r\n%s\r\n%s\r\nexit /b 0\r\n' \
    'if "%~1"=="--install-extension" copy /y "%~2" "%~dp0received.vsix" >nul' \
    'if defined CODE_STATUS exit /b %CODE_STATUS%' \
    >"$work/fakes/code-yes/code.cmd"
printf '@echo off\r\nexit /b 1\r\n' >"$work/fakes/code-no/where.cmd"
code_args_file=$work/fakes/code-yes/code-args.txt
received_package=$work/fakes/code-yes/received.vsix
code_args() { [[ -f $code_args_file ]] && tr -d '\r' <"$code_args_file" | sed 's/ *$//'; }

# run_setup LOCALAPPDATA FAKES INPUT ARGS...: runs the installer and leaves its
# stdout (without CRs) in $out and its exit status in $status. LOCALAPPDATA
# "<unset>" leaves the variable out of the environment.
run_setup() {
    local local_app=$1 fakes=$2 input=$3
    shift 3
    # Wine sets LOCALAPPDATA from this key, hiding the one given below.
    run_wine reg delete 'HKCU\Volatile Environment' /v LOCALAPPDATA /f >/dev/null 2>&1
    rm -f "$code_args_file" "$received_package"
    local environment=(WINEPATH="$(windows_path "$work/fakes/$fakes")")
    if [[ $local_app != "<unset>" ]]; then
        environment+=(LOCALAPPDATA="$local_app")
    fi
    printf '%s' "$input" | env -u LOCALAPPDATA "${environment[@]}" timeout "$step_timeout" wine "$setup_exe" "$@" \
        >"$work/stdout" 2>"$work/stderr"
    status=${PIPESTATUS[1]}
    out=$(tr -d '\r' <"$work/stdout")
}

new_case() {
    case_dir=$work/cases/$1
    mkdir -p "$case_dir"
    case_local=$(windows_path "$case_dir")
    install_folder="$case_local\\Programs\\Velmor"
    program_folder="$install_folder\\bin"
    package_file="$install_folder\\velmor-extension.vsix"
}

# The installer's output for an install; the arguments are its status lines after "Installed velmor.exe".
install_output() {
    printf '\nInstalling Velmor to %s\n\n  Installed velmor.exe\n' "$install_folder"
    printf '  %s\n' "$@"
    printf '\nDone. Open a NEW terminal and run:  velmor --version\n'
}
uninstall_output() {
    printf '\nRemoving Velmor from %s\n\n' "$install_folder"
    (($#)) && printf '  %s\n' "$@"
    printf '\nVelmor removed. Restart open terminals to refresh PATH.\n'
}
closing=$'\n\nPress Enter to close...'
menu=$(printf '%s\n' '======================================' '  Velmor 0.5.0 - Setup' \
    '  https://github.com/velmor-lang/velmor' '======================================' '' '  [1] Install Velmor' \
    '  [2] Uninstall Velmor' '  [3] Exit')
menu+=$'\n\n  Choose (1-3): '

check_installed_files() {
    local name=$1
    if cmp -s "$velmor_exe" "$case_dir/Programs/Velmor/bin/velmor.exe"; then
        pass "$name: velmor.exe is the build's, byte for byte"
    else
        fail "$name: velmor.exe is the build's, byte for byte" "$(ls -l "$case_dir/Programs/Velmor/bin" 2>&1)"
    fi
    local installed_package=$case_dir/Programs/Velmor/velmor-extension.vsix
    local listing
    listing=$(unzip -l "$installed_package" 2>&1)
    if cmp -s "$package" "$installed_package" && grep -q ' extension/package.json$' <<<"$listing"; then
        pass "$name: the extension package is installed"
    else
        fail "$name: the extension package is installed" "$(ls -l "$case_dir/Programs/Velmor" 2>&1)"
    fi
}

scenario_started=$SECONDS

# Install with no Path value at all, code found.
new_case fresh
delete_reg_path
run_setup "$case_local" code-yes $'\n' --install
check "install (no Path): output" \
    "$(install_output "Added Velmor to your PATH" "Installed the VS Code extension")$closing" "$out"
check "install (no Path): exit status" 0 "$status"
check "install (no Path): Path value" "$program_folder" "$(reg_path)"
check "install (no Path): code arguments" "--install-extension \"$package_file\" --force" "$(code_args)"
check "install (no Path): nothing on stderr" "" "$(cat "$work/stderr")"
check_installed_files "install (no Path)"

# The Path step end to end: a new process finds the installed program by name.
version=$(cd "$work" && timeout "$step_timeout" wine cmd /c 'velmor --version' 2>&1 | tr -d '\r')
check "installed velmor is found through the user Path" "Velmor 6" "$version"

# Reinstall over it: the files are replaced, Path is left alone.
run_setup "$case_local" code-yes $'\n' -i
check "reinstall: output" "$(install_output "PATH already set" "Installed the VS Code extension")$closing" "$out"
check "reinstall: Path unchanged" "$program_folder" "$(reg_path)"
check_installed_files "reinstall"

# Uninstall: only the program folder leaves Path; the other pieces keep their spaces.
set_reg_path "A; $program_folder ;; C:\\x ;B"
run_setup "$case_local" code-yes $'\n' --uninstall
check "uninstall: output" "$(uninstall_output "Removed Velmor from your PATH" "Deleted installed files" \
    "Removed the VS Code extension")$closing" "$out"
check "uninstall: exit status" 0 "$status"
check "uninstall: Path value" "A; C:\\x ;B" "$(reg_path)"
check "uninstall: code arguments" "--uninstall-extension velmor.velmor-lang" "$(code_args)"
if [[ ! -e $case_dir/Programs/Velmor ]]; then pass "uninstall: files removed"; else
    fail "uninstall: files removed" "$(find "$case_dir/Programs" 2>&1)"; fi

# Uninstall again: nothing left to do, code not found.
run_setup "$case_local" code-no $'\n' /uninstall
check "uninstall (nothing installed): output" "$(uninstall_output)$closing" "$out"
check "uninstall (nothing installed): Path untouched" "A; C:\\x ;B" "$(reg_path)"

# Install beside an existing Path that keeps references unexpanded; code not found.
new_case existing
set_reg_path 'C:\Tools;%USERPROFILE%\bin'
run_setup "$case_local" code-no '' foo --install
expected=$(printf '\nInstalling Velmor to %s\n\n  Installed velmor.exe\n  Added Velmor to your PATH\n' "$install_folder"
    printf '  VS Code not found; skipped the editor extension\n'
    printf '        (install later with: code --install-extension "%s")\n' "$package_file"
    printf '\nDone. Open a NEW terminal and run:  velmor --version\n')
check "install (existing Path, no code): output" "$expected$closing" "$out"
check "install (existing Path, no code): Path value" "C:\\Tools;%USERPROFILE%\\bin;$program_folder" "$(reg_path)"
check "install (existing Path, no code): code not run" "" "$(code_args)"
check_installed_files "install (existing Path, no code)"

# Install beside a Path ending in ";" and holding the folder with a trailing backslash; code fails.
new_case separator
set_reg_path "C:\\Tools;$program_folder\\;"
CODE_STATUS=3 run_setup "$case_local" code-yes $'\n' -i
check "install (code fails): output" "$(install_output "Added Velmor to your PATH" \
    "Note: VS Code extension install did not complete")$closing" "$out"
check "install (code fails): exit status" 0 "$status"
check "install (trailing backslash): Path value" "C:\\Tools;$program_folder\\;$program_folder" "$(reg_path)"

# The menu: "1abc" installs, an empty line and the end of input cancel, options are case-sensitive.
new_case menu
set_reg_path ''
run_setup "$case_local" code-yes $'1abc\n\n'
check "menu 1abc: output" \
    "$menu$(install_output "Added Velmor to your PATH" "Installed the VS Code extension")$closing" "$out"
check "menu 1abc: exit status" 0 "$status"
check "install (empty Path value): Path value" "$program_folder" "$(reg_path)"
run_setup "$case_local" code-yes $'\n' /INSTALL
check "menu via /INSTALL, empty line: output" "$menu"$'\nCancelled.' "$out"
check "menu via /INSTALL, empty line: exit status" 0 "$status"
run_setup "$case_local" code-yes ''
check "menu at end of input: output" "$menu"$'\nCancelled.' "$out"
run_setup "$case_local" code-yes $'2\n\n' /Uninstall
check "menu 2: output" "$menu$(uninstall_output "Removed Velmor from your PATH" "Deleted installed files" \
    "Removed the VS Code extension")$closing" "$out"
check "menu 2: Path value" "" "$(reg_path)"
check "menu 2: value kept, empty" present "$(reg_path_state)"

# A Path holding the folder in other letter case between spaces counts as set;
# a trailing separator on LOCALAPPDATA does not double the backslash.
new_case spelling
set_reg_path "C:\\A; ${program_folder^^} ;B"
run_setup "$case_local\\" code-no $'\n' --install
check "install (folder in other case): status line" "  PATH already set" "$(grep -x '  PATH already set' <<<"$out")"
check "install (LOCALAPPDATA ends in a backslash): header" "Installing Velmor to $install_folder" \
    "$(sed -n 2p <<<"$out")"
check "install (folder in other case): Path unchanged" "C:\\A; ${program_folder^^} ;B" "$(reg_path)"

# -u before -i uninstalls.
new_case order
delete_reg_path
run_setup "$case_local" code-no $'\n' -u -i
check "-u -i uninstalls" "$(uninstall_output)$closing" "$out"
check "-u -i: no Path value created" absent "$(reg_path_state)"

# Fatal errors: exit status 1 and nothing after the error line.
run_setup "<unset>" code-yes $'\n' --install
check "LOCALAPPDATA unset: output" "  ERROR: LOCALAPPDATA is not set.$closing" "$out"
check "LOCALAPPDATA unset: exit status" 1 "$status"
run_setup "" code-yes $'\n' --uninstall
check "LOCALAPPDATA empty (uninstall): exit status" 1 "$status"

new_case blocked-folder
: >"$case_dir/Programs"
run_setup "$case_local" code-yes $'\n' --install
check "folder cannot be created: output" "
Installing Velmor to $install_folder

  ERROR: could not create $program_folder$closing" "$out"
check "folder cannot be created: exit status" 1 "$status"
check "folder cannot be created: Path untouched" absent "$(reg_path_state)"

new_case blocked-file
mkdir -p "$case_dir/Programs/Velmor/bin/velmor.exe"
run_setup "$case_local" code-yes $'\n' --install
check "program cannot be written: output" "
Installing Velmor to $install_folder

  ERROR: could not write velmor.exe$closing" "$out"
check "program cannot be written: exit status" 1 "$status"
check "program cannot be written: code not run" "" "$(code_args)"

# Path entries in any characters come back byte for byte: Cyrillic, CJK,
# Latin-1, a character beyond the BMP and a lone surrogate (which Windows
# allows), beside an unexpanded reference and spaces kept around an entry.
new_case unicode-path
others=$(utf16_hex 'C:\Tools;%USERPROFILE%\bin;C:\Пути\бин;C:\café; D:\工具\bin ;E:\🚀;F:\')00d8
import_reg_path "$others"
check "unicode Path: preset as imported" "$(expected_path "$others")" "$(exported_path)"
run_setup "$case_local" code-no $'\n' --install
check "unicode Path, install: status lines" "  Installed velmor.exe
  Added Velmor to your PATH" "$(grep -E '^  (Installed velmor|Added|PATH|WARNING)' <<<"$out")"
check "unicode Path, install: the other entries are kept byte for byte" \
    "$(expected_path "$others$(utf16_hex ";$program_folder")")" "$(exported_path)"
run_setup "$case_local" code-no $'\n' --uninstall
check "unicode Path, uninstall: the other entries are kept byte for byte" "$(expected_path "$others")" \
    "$(exported_path)"
# The folder between non-ASCII entries, in other letter case and with spaces.
import_reg_path "$(utf16_hex "C:\\Пути\\бин; ${program_folder^^} ;;D:\\工具\\bin")"
run_setup "$case_local" code-no $'\n' -u
check "unicode Path, uninstall from between entries: output" "$(uninstall_output \
    "Removed Velmor from your PATH")$closing" "$out"
check "unicode Path, uninstall from between entries: Path value" \
    "$(expected_path "$(utf16_hex 'C:\Пути\бин;D:\工具\bin')")" "$(exported_path)"

# A LOCALAPPDATA outside every ANSI code page: folders, files, the Path entry,
# the package path given to `code` and the printed folder keep its characters.
new_case 'Пётр-Jürgen-工具'
delete_reg_path
run_setup "$case_local" code-yes $'\n' --install
check "non-ANSI LOCALAPPDATA, install: output" \
    "$(install_output "Added Velmor to your PATH" "Installed the VS Code extension")$closing" "$out"
check "non-ANSI LOCALAPPDATA, install: exit status" 0 "$status"
check_installed_files "non-ANSI LOCALAPPDATA, install"
check "non-ANSI LOCALAPPDATA, install: Path value" "$(expected_path "$(utf16_hex "$program_folder")")" \
    "$(exported_path)"
if cmp -s "$package" "$received_package"; then pass "non-ANSI LOCALAPPDATA, install: code got the package path whole"
else fail "non-ANSI LOCALAPPDATA, install: code got the package path whole" "$(code_args)"; fi
version=$(cd "$work" && timeout "$step_timeout" wine cmd /c 'velmor --version' 2>&1 | tr -d '\r')
check "non-ANSI LOCALAPPDATA: installed velmor is found through the user Path" "Velmor 6" "$version"
# In a console (a pseudo-terminal gives the program one) the folder is written
# as UTF-16, which the terminal shows as UTF-8 whatever the console's code page.
run_wine reg delete 'HKCU\Volatile Environment' /v LOCALAPPDATA /f >/dev/null 2>&1
(cd "$work" && WINEPATH="$(windows_path "$work/fakes/code-no")" LOCALAPPDATA="$case_local" \
    timeout "$step_timeout" script -qec "stty cols 300; wine '$setup_exe' -i </dev/null" /dev/null </dev/null >"$work/console") \
    >/dev/null 2>&1
console=$(sed -e 's/\x1b\[[?0-9;]*[A-Za-z]//g' -e 's/\x1b\][^\x07]*\x07//g' "$work/console" | tr -d '\r')
check "non-ANSI LOCALAPPDATA, in a console: the folder is readable" "Installing Velmor to $install_folder
  PATH already set" "$(grep -E '^(Installing|  PATH)' <<<"$console")"
run_setup "$case_local" code-yes $'\n' --uninstall
check "non-ANSI LOCALAPPDATA, uninstall: output" "$(uninstall_output "Removed Velmor from your PATH" \
    "Deleted installed files" "Removed the VS Code extension")$closing" "$out"
check "non-ANSI LOCALAPPDATA, uninstall: Path value" "$(expected_path '')" "$(exported_path)"
if [[ ! -e $case_dir/Programs/Velmor ]]; then pass "non-ANSI LOCALAPPDATA, uninstall: files removed"; else
    fail "non-ANSI LOCALAPPDATA, uninstall: files removed" "$(find "$case_dir/Programs" 2>&1)"; fi

scenario_seconds=$((SECONDS - scenario_started))

# velmor.exe itself. run_velmor ARGS...: stdout (without CRs) in $out, exit status in $status.
run_velmor() {
    (cd "$work" && timeout "$step_timeout" wine "$velmor_exe" "$@" >"$work/velmor-stdout" 2>"$work/velmor-stderr")
    status=$?
    out=$(tr -d '\r' <"$work/velmor-stdout")
}
run_velmor --version
check "velmor --version" "Velmor 6" "$out"
for engine in --vm --tree; do
    run_velmor "$engine" -c 'print(1 + 2 * 3, 5 / 2, "h" + "i", len([1, 2, 3]))'
    check "velmor $engine -c arithmetic" "7 2.5 hi 3" "$out"
done

# Deep recursion and nesting on the Windows stack (velmor.exe reserves 8 MiB).
reserve=$(x86_64-w64-mingw32-objdump -p "$velmor_exe" | sed -n 's/^SizeOfStackReserve\s*//p')
check "velmor.exe reserves an 8 MiB stack" 0000000000800000 "$reserve"
# The VM keeps its frames on the heap up to 4,096; the tree-walker recurses
# natively and stops itself within a 4 MiB budget, which a 1 MiB default stack
# could not hold: its endless-recursion check below then crashes instead.
deep=$'function depth(n)\n  if n == 0 then return 0 end\n  return 1 + depth(n - 1)\nend\nprint(depth(DEPTH))'
run_velmor --vm -c "${deep/DEPTH/4000}"
check "deep recursion (--vm)" 4000 "$out"
run_velmor --tree -c "${deep/DEPTH/2000}"
check "deep recursion (--tree)" 2000 "$out"
nested="print($(printf '[%.0s' {1..150})1$(printf ']%.0s' {1..150}))"
for engine in --vm --tree; do
    run_velmor "$engine" -c "$nested"
    check "deeply nested list literal ($engine)" "$(printf '[%.0s' {1..150})1$(printf ']%.0s' {1..150})" "$out"
done
endless=$'function f(n)\n  return f(n + 1) + 1\nend\nf(0)'
for engine in --vm --tree; do
    run_velmor "$engine" -c "$endless"
    # A crash under Wine exits 3 or 5; a reported error exits 1.
    if ((status == 1)) && grep -q "recursion" "$work/velmor-stderr"; then
        pass "endless recursion is reported ($engine)"
    else
        fail "endless recursion is reported ($engine)" "status $status" "$(head -5 "$work/velmor-stderr")"
    fi
done

# Recursion through builtins that call back goes as deep on both engines (the
# bound is the native stack they use), and a runaway through a comparator is
# reported, not a crash.
callbacks=$'function f(n)\n  if n == 0 then return 0 end\n  let d = 0\n  sort([2, 1], function(a, b)\n    d = f(n - 1) + 1\n    return a < b\n  end)\n  return map(function(x) return x end, [d])[0]\nend\nprint(f(1000))'
runaway=$'function g(n)\n  return sort([2, 1], function(a, b) return g(n + 1) end)\nend\ng(0)'
for engine in --vm --tree; do
    run_velmor "$engine" -c "$callbacks"
    check "1,000 levels of callbacks ($engine)" 1000 "$out"
    run_velmor "$engine" -c "$runaway"
    if ((status == 1)) && grep -q "call stack overflow" "$work/velmor-stderr"; then
        pass "runaway recursion through a comparator is reported ($engine)"
    else
        fail "runaway recursion through a comparator is reported ($engine)" "status $status" \
            "$(head -5 "$work/velmor-stderr")"
    fi
done

# A failed write of standard output ends the run with status 1 and one line
# on standard error; a pipe closed by its reader ends it promptly.
(cd "$work" && timeout "$step_timeout" wine "$velmor_exe" -c 'print(1)' >/dev/full 2>"$work/velmor-stderr")
status=$?
check "output onto a full disk: status and report" \
    "1 velmor: cannot write to standard output: No space left on device" \
    "$status $(tr -d '\r' <"$work/velmor-stderr")"
for engine in --vm --tree; do
    (cd "$work" && timeout "$step_timeout" wine "$velmor_exe" "$engine" -c 'while true do print("y") end' \
        2>"$work/velmor-stderr" | head -1 >/dev/null; echo "${PIPESTATUS[0]}" >"$work/pipe-status")
    check "output into a closed pipe ($engine)" \
        "1 velmor: cannot write to standard output: Broken pipe" \
        "$(cat "$work/pipe-status") $(tr -d '\r' <"$work/velmor-stderr")"
done

# Long chains and nesting at the limit within velmor.exe's stack, on both engines.
chains_started=$SECONDS
timeout 300 python3 "$here/../chains_test.py" --launcher wine --velmor "$velmor_exe" --lengths 250,10000,50000 \
    --timeout 60 >"$work/chains.log" 2>&1
chains_status=$?
if ((chains_status == 0)); then
    pass "long chains and deep nesting: $(tail -1 "$work/chains.log") in $((SECONDS - chains_started)) s"
else
    fail "long chains and deep nesting" "$(head -40 "$work/chains.log")"
fi

# The script tests of the language itself, on both engines, through the shared runner.
script_folders=()
for folder in language builtins errors vm examples cli pragmas; do
    [[ -d $here/../scripts/$folder ]] && script_folders+=("$here/../scripts/$folder")
done
if ((${#script_folders[@]})); then
    scripts_started=$SECONDS
    timeout 400 python3 "$here/../run_scripts.py" --launcher wine --velmor "$velmor_exe" --normalize-newlines -q \
        --timeout 60 "${script_folders[@]}" >"$work/scripts.log" 2>&1
    scripts_status=$?
    summary=$(tail -1 "$work/scripts.log")
    if ((scripts_status == 0)); then
        pass "script tests under Wine: $summary in $((SECONDS - scripts_started)) s"
    else
        fail "script tests under Wine: $summary" "$(head -80 "$work/scripts.log" | cat -v)"
    fi
fi

echo "install scenarios: ${scenario_seconds} s; whole run: $((SECONDS - started)) s"
echo "wine: $passed passed, $failed failed"
((failed == 0))
