#!/usr/bin/env bash
# The demonstration: a small cartridge assembled from demo.s, served by
# caldrin-devsim on a mount, and a short session of the program on it.
#
#   emulator/demo/run_demo.sh [BUILD_DIR]       (make demo)
#
# What it leaves in BUILD_DIR/demo: demo.nes, the saved prg.bin, the
# session's output and the emulator's sector log.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-build}" && pwd)
caldrin=$build/caldrin
devsim=$build/caldrin-devsim

say() { printf '\n== %s\n' "$*"; }
die() { echo "run_demo: $*" >&2; exit 1; }

for tool in ca65 ld65 fusermount3; do
    command -v "$tool" > /dev/null || die "$tool is missing (make deps installs cc65 and fuse3)"
done
if [ ! -x "$caldrin" ] || [ ! -x "$devsim" ] || [ ! -f "$build/dumpers/nes.lua" ]; then
    [ -f "$build/CMakeCache.txt" ] || die "$build is no build tree: run make first"
    cmake --build "$build" --target caldrin caldrin-devsim caldrin_dumpers -j"$(nproc 2> /dev/null || echo 2)"
fi
[ -r /dev/fuse ] && [ -w /dev/fuse ] || die "/dev/fuse is not usable here, so nothing can be mounted"

out=$build/demo
mnt=$out/mnt
mkdir -p "$out"
if mountpoint -q "$mnt" 2> /dev/null; then fusermount3 -u "$mnt"; fi
rm -rf "$mnt" "$out/prg.bin" "$out/sectors.log"
mkdir "$mnt"

unmount() {
    if mountpoint -q "$mnt" 2> /dev/null; then
        fusermount3 -u "$mnt" 2> /dev/null || fusermount3 -uz "$mnt"
    fi
    rmdir "$mnt" 2> /dev/null || true
}
trap unmount EXIT

say "Assembling the demonstration cartridge (NROM, 16 KiB PRG, 8 KiB CHR)"
ca65 -o "$out/demo.o" "$here/demo.s"
ld65 -C "$here/demo.cfg" -o "$out/demo.nes" "$out/demo.o"
echo "$out/demo.nes: $(stat -c %s "$out/demo.nes") bytes"

say "Mounting the device"
echo "\$ caldrin-devsim --log $out/sectors.log $out/demo.nes $mnt"
"$devsim" --log "$out/sectors.log" "$out/demo.nes" "$mnt"
ls -l "$mnt"

commands=("list" "d 8000 40" "d 8000 4000 prg.bin" "q")
say "Session: CALDRIN_DRIVES=E=$mnt caldrin"
printf '%s\n' "${commands[@]}" > "$out/session.in"
(cd "$out" && CALDRIN_DRIVES="E=$mnt" timeout 60 "$caldrin" < session.in > session.out)
# Standard input is no terminal, so the typed commands are not echoed: put
# each one after the prompt it answered.
awk -v commands="$out/session.in" '
    BEGIN { while ((getline line < commands) > 0) typed[n++] = line }
    {
        line = $0
        prompted = 0
        while (substr(line, 1, 1) == "-" && k < n) { print "-" typed[k++]; line = substr(line, 2); prompted = 1 }
        if (line != "" || !prompted) print line
    }' "$out/session.out"

say "Checking the save against the image"
if cmp -s "$out/prg.bin" <(tail -c +17 "$out/demo.nes" | head -c 16384); then
    echo "prg.bin is the cartridge's PRG ROM, byte for byte"
else
    die "prg.bin differs from the PRG ROM of demo.nes"
fi

say "Dumping the whole cartridge with dumpers/nes.lua"
rm -f "$out/dump.nes"
printf '%s\n' "do ../dumpers/nes.lua" "0 dump.nes" "q" > "$out/dump.in"
(cd "$out" && CALDRIN_DRIVES="E=$mnt" timeout 60 "$caldrin" < dump.in > dump.out)
# Show the script's part as a terminal leaves it: the answer after its
# question, and of the progress line (rewritten with carriage returns) only
# what is left at the end.
awk '/^-Famicom/ { on = 1 } on {
        line = $0
        p = index(line, "Mapper [file] [h|v]: ")
        if (p && !answered) { print substr(line, 1, p + 20) "0 dump.nes"; line = substr(line, p + 21); answered = 1 }
        n = split(line, parts, "\r")
        print parts[n]
    }' "$out/dump.out"

say "The dump against the image it came from (CRC-32 of PRG and CHR, header left out)"
rom_crc() { tail -c +17 "$1" | gzip -c | tail -c 8 | head -c 4 | od -An -tx4 | tr -d ' \n' | tr a-f A-F; }
printf '%-10s %s\n' demo.nes "$(rom_crc "$out/demo.nes")" dump.nes "$(rom_crc "$out/dump.nes")"
if cmp -s "$out/demo.nes" "$out/dump.nes"; then
    echo "dump.nes is demo.nes, header included, byte for byte"
else
    die "dump.nes differs from demo.nes"
fi

say "What the device received (sector log)"
cat "$out/sectors.log"

say "Unmounting"
unmount
trap - EXIT
echo "done; the files are in $out"
