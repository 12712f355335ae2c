#!/usr/bin/env bash
# The .deb as a user gets it: cpack builds it from this build folder, dpkg -x unpacks it into a scratch root, and
# the programs run from there. Checks the control fields, that the package holds exactly the files it should, that
# every library the programs need resolves, and the tables the installed velmora-table writes.
#   PackageTest.sh <build folder> <cpack> <scratch folder>
set -euo pipefail
build=$1
cpack=$2
work=$3

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$work"
mkdir -p "$work/out" "$work/root" "$work/tables"

if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" > "$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  echo "FAIL: cpack could not build the package (is everything built? cmake --build $build)" >&2
  exit 1
fi
debs=("$work"/out/velmora_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: expected one velmora_*.deb in $work/out" >&2; exit 1; }
deb=${debs[0]}
echo "package: $deb ($(stat -c %s "$deb") bytes)"

# Control fields. Depends must name the Qt libraries the programs link, so apt pulls them in.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = 1.0.0.1 ] || fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
echo "Depends: $depends"
dep_names=$(sed 's/ ([^)]*)//g; s/, */\n/g' <<< "$depends")
for dep in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 fonts-dejavu-core; do
  grep -qxF "$dep" <<< "$dep_names" || fail "Depends lacks $dep"
done

# Exactly these files, nothing from the tests or the build.
expected_files="./usr/bin/velmora
./usr/bin/velmora-table
./usr/bin/velmora-unit-sim
./usr/share/applications/velmora.desktop
./usr/share/icons/hicolor/16x16/apps/velmora.png
./usr/share/icons/hicolor/32x32/apps/velmora.png"
actual_files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
if [ "$actual_files" != "$expected_files" ]; then
  fail "the package holds other files than expected:"
  diff <(echo "$expected_files") <(echo "$actual_files") >&2 || true
fi

dpkg -x "$deb" "$work/root"
root=$work/root
for prog in velmora velmora-table velmora-unit-sim; do
  [ -x "$root/usr/bin/$prog" ] || { fail "$prog is not an executable in the package"; continue; }
  missing=$(ldd "$root/usr/bin/$prog" | grep 'not found' || true)
  [ -z "$missing" ] || fail "$prog needs libraries that are not there: $missing"
done

# The desktop entry starts the installed program and finds the installed icon.
desktop=$root/usr/share/applications/velmora.desktop
exec_line=$(grep '^Exec=' "$desktop" | cut -d= -f2 | cut -d' ' -f1)
icon_line=$(grep '^Icon=' "$desktop" | cut -d= -f2)
[ -x "$root/usr/bin/$exec_line" ] || fail "the desktop entry runs '$exec_line', which the package does not install"
[ -f "$root/usr/share/icons/hicolor/32x32/apps/$icon_line.png" ] || fail "the desktop entry's icon '$icon_line' is not installed"
# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 16 32; do
  dims=$(od -An -tu1 -j16 -N8 "$root/usr/share/icons/hicolor/${size}x${size}/apps/velmora.png" | awk '{ print $3 * 256 + $4 "x" $7 * 256 + $8 }')
  [ "$dims" = "${size}x${size}" ] || fail "the ${size}x${size} icon is $dims"
done

"$root/usr/bin/velmora-unit-sim" --help | grep -q '^Usage: velmora-unit-sim' || fail "velmora-unit-sim --help from the package"

# Tables from the installed velmora-table: name | arguments | line | expected line (without its CR LF).
printf 'Number,Value From PIC,Value On Display\n0,100,5.0000\n1,900,90.5000\n' > "$work/tables/points.csv"
cases=(
  "up|--linear 0 1023 --decimals 2|1|0\t0.00"
  "up|--linear 0 1023 --decimals 2|2|1\t1.00"
  "up|--linear 0 1023 --decimals 2|1024|1023\t1023.00"
  "up|--linear 0 1023 --decimals 2|1025|0"
  "up|--linear 0 1023 --decimals 2|1026|"
  "down|--linear 100 0 --decimals 0|1|0\t100"
  "down|--linear 100 0 --decimals 0|1024|1023\t0"
  "down|--linear 100 0 --decimals 0|1025|1"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|1|0\t5.000"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|101|100\t5.000"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|501|500\t47.750"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|901|900\t90.500"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|1024|1023\t90.500"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|1025|0"
  "points|--points $work/tables/points.csv --decimals 3 --units bar|1026|bar"
)
# The last line of each file: the number format, with no line end.
last_lines=("up|%.2f" "down|%.0f" "points|%.3f")

for entry in "${cases[@]}"; do
  IFS='|' read -r name args line expected <<< "$entry"
  file=$work/tables/$name.anl
  if [ ! -f "$file" ]; then
    # shellcheck disable=SC2086
    "$root/usr/bin/velmora-table" $args --output "$file" || { fail "$name: velmora-table $args failed"; continue; }
  fi
  actual=$(sed -n "${line}p" "$file")
  want=$(printf '%b\r' "$expected")
  [ "$actual" = "$want" ] || fail "$name: line $line is '$(printf '%q' "$actual")', expected '$(printf '%q' "$want")'"
done
for entry in "${last_lines[@]}"; do
  IFS='|' read -r name format <<< "$entry"
  file=$work/tables/$name.anl
  [ -f "$file" ] || continue
  lines=$(awk 'END { print NR }' "$file")
  [ "$lines" = 1027 ] || fail "$name: $lines lines, expected 1027"
  [ "$(tail -c ${#format} "$file")" = "$format" ] || fail "$name: the file does not end with $format"
  crlf=$(grep -c $'\r$' "$file" || true)
  [ "$crlf" = 1026 ] || fail "$name: $crlf lines end with CR LF, expected 1026"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed; the package and its scratch root are in $work" >&2
  exit 1
fi
echo "package test passed"
