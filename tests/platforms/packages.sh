#!/usr/bin/env bash
# What each package holds, and the program run from it.
#
#   packages.sh DIST TRANSCRIPTS_DIR
#
# The Debian packages (amd64, arm64): their control fields, the program in
# /usr/bin for the right machine, the manual page; the program unpacked from
# each runs a golden session.  The Windows zip: amostra.exe and LEIA-ME.txt at
# its top, the text in Portuguese, UTF-8 with a byte order mark and CR LF line
# ends, telling the console's code page 850.  Under CI (CI=true) the amd64
# package is installed with apt and the installed program runs a session;
# elsewhere that step is skipped (it would change the machine).
# Other installed files are allowed: only the essentials are checked.
set -u
dist=$1
transcripts=$2
failures=0
checks=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  checks=$((checks + 1))
  if "$@" > /dev/null 2>&1; then return 0; fi
  echo "FAIL package: $what"
  failures=$((failures + 1))
  return 1
}

# A session with a fatal error and one that ends normally, both with output.
session_ok=$transcripts/parametric/student_t_homogeneous
[ -f "$session_ok.in" ] || session_ok=$(find "$transcripts" -name '*.in' ! -name '*.err' | sort | head -n1 | sed 's/\.in$//')
session_runs() {  # session_runs COMMAND... : the golden session's bytes and status 0
  local out
  out=$(mktemp)
  "$@" < "$session_ok.in" > "$out" 2> /dev/null
  local status=$?
  cmp -s "$out" "$session_ok.out" && [ "$status" -eq 0 ]
  local r=$?
  rm -f "$out"
  return $r
}

# ELF machine field: 62 for x86-64, 183 for aarch64.
elf_machine() { od -An -tu2 -j18 -N2 "$1" | tr -d ' '; }

check_deb() {  # check_deb ARCH MACHINE RUNNER...
  local arch=$1 machine=$2
  shift 2
  local deb
  deb=$(ls "$dist"/amostra_*_"$arch".deb 2> /dev/null | head -n1)
  if ! check "a Debian package for $arch in $dist" test -n "$deb"; then return; fi
  check "$arch: Package is amostra" test "$(dpkg-deb -f "$deb" Package)" = amostra
  check "$arch: Architecture is $arch" test "$(dpkg-deb -f "$deb" Architecture)" = "$arch"
  check "$arch: a version" test -n "$(dpkg-deb -f "$deb" Version)"
  check "$arch: a maintainer" test -n "$(dpkg-deb -f "$deb" Maintainer)"
  check "$arch: a section" test -n "$(dpkg-deb -f "$deb" Section)"
  check "$arch: a description in Portuguese" grep -q 'bioestatística' <(dpkg-deb -f "$deb" Description)
  check "$arch: no dependency (the program is static)" test -z "$(dpkg-deb -f "$deb" Depends)"
  local listing
  listing=$(dpkg-deb -c "$deb")
  check "$arch: /usr/bin/amostra, executable" grep -Eq '^-rwxr-xr-x .* \./usr/bin/amostra$' <<< "$listing"
  check "$arch: the manual page" grep -Eq ' \./usr/share/man/man1/amostra\.1(\.gz)?$' <<< "$listing"
  local unpacked=$work/$arch
  dpkg-deb -x "$deb" "$unpacked"
  check "$arch: the program is built for $arch" test "$(elf_machine "$unpacked/usr/bin/amostra")" = "$machine"
  check "$arch: the manual page is the project's" cmp "$unpacked/usr/share/man/man1/amostra.1" doc/amostra.1
  check "$arch: the packaged program runs a golden session" session_runs "$@" "$unpacked/usr/bin/amostra"
}

check_deb amd64 62
check_deb arm64 183 qemu-aarch64

zip=$(ls "$dist"/amostra-*-windows-x86_64.zip 2> /dev/null | head -n1)
if check "a Windows zip in $dist" test -n "$zip"; then
  listing=$(unzip -Z1 "$zip")
  check "zip: amostra.exe at its top" grep -qx 'amostra.exe' <<< "$listing"
  check "zip: LEIA-ME.txt at its top" grep -qx 'LEIA-ME.txt' <<< "$listing"
  unzip -q "$zip" -d "$work/zip"
  text=$work/zip/LEIA-ME.txt
  check "LEIA-ME.txt: starts with the UTF-8 byte order mark" test "$(head -c3 "$text" | od -An -tx1 | tr -d ' ')" = efbbbf
  check "LEIA-ME.txt: valid UTF-8" iconv -f UTF-8 -t UTF-8 "$text"
  check "LEIA-ME.txt: every line ends in CR LF" test "$(grep -c $'\r$' "$text")" -eq "$(wc -l < "$text")"
  check "LEIA-ME.txt: no lone CR" test "$(tr -cd '\r' < "$text" | wc -c)" -eq "$(wc -l < "$text")"
  check "LEIA-ME.txt: tells to use code page 850" grep -q 'chcp 850' "$text"
  check "LEIA-ME.txt: tells how to start the program" grep -q $'^ *amostra\r$' "$text"
  check "LEIA-ME.txt: in Portuguese" grep -q 'página de código' "$text"
  check "zip: a 64-bit Windows program" test "$(od -An -c -j0 -N2 "$work/zip/amostra.exe" | tr -d ' ')" = MZ
  if command -v wine > /dev/null; then
    check "zip: amostra.exe runs a golden session under Wine" session_runs wine "$work/zip/amostra.exe"
  fi
fi

# The amd64 package installed as a user would.
deb=$(ls "$dist"/amostra_*_amd64.deb 2> /dev/null | head -n1)
if [ "${CI:-}" = true ] && [ "$(id -u)" -eq 0 ] && [ -n "$deb" ]; then
  if check "apt installs the amd64 package" env DEBIAN_FRONTEND=noninteractive apt-get install -o DPkg::Lock::Timeout=300 -y -q "$(realpath "$deb")"; then
    check "installed: dpkg knows /usr/bin/amostra" grep -qx /usr/bin/amostra <(dpkg -L amostra)
    check "installed: its manual page" test -f /usr/share/man/man1/amostra.1
    check "installed: the program runs a golden session" session_runs /usr/bin/amostra
    check "apt removes the package" env DEBIAN_FRONTEND=noninteractive apt-get remove -o DPkg::Lock::Timeout=300 -y -q amostra
  fi
else
  echo "packages: installing the amd64 package with apt is skipped here (only under CI=true as root)"
fi

echo "packages: $((checks - failures)) of $checks checks passed"
[ "$failures" -eq 0 ]
