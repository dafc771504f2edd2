#!/bin/bash
# Kills vardel-data remove at random moments and checks what each kill left: the data file must be either exactly
# the file before the removal or exactly that file without the one slot, with no "$Killed$" name and no
# "TempFile.$$$" copy kept in its place; the next removal must then work.
# usage: tools/kill-removals.sh BUILD [TRIALS [RECORDS]]
set -u
build=$1
trials=${2:-100}
records=${3:-20000}
tool="$build/tools/vardel-data"
work=$(mktemp -d "${TMPDIR:-/tmp}/kill-removals.XXXXXX")
trap 'rm -rf "$work"' EXIT
chmod 700 "$work"
"$tool" --data-dir "$work" demo "$records" --seed 11 >/dev/null || exit 1
cp "$work/Vardel.Data" "$work/before"
killed=0 whole=0 removed=0 bad=0
for trial in $(seq 1 "$trials"); do
    cp "$work/before" "$work/Vardel.Data"
    slot=$(( (RANDOM * 32768 + RANDOM) % records + 1 ))
    head -c $(( (slot - 1) * 5000 )) "$work/before" >"$work/after"
    tail -c +$(( slot * 5000 + 1 )) "$work/before" >>"$work/after"
    "$tool" --data-dir "$work" remove --slot "$slot" >/dev/null 2>&1 &
    pid=$!
    # Anywhere from before the copy starts to after the rename.
    sleep "0.$(printf '%03d' $(( RANDOM % 600 )))"
    kill -KILL "$pid" 2>/dev/null && killed=$((killed + 1))
    wait "$pid" 2>/dev/null
    if cmp -s "$work/Vardel.Data" "$work/before"; then
        whole=$((whole + 1))
    elif cmp -s "$work/Vardel.Data" "$work/after"; then
        removed=$((removed + 1))
    else
        bad=$((bad + 1))
        echo "trial $trial (slot $slot): the data file is neither the old one nor the old one less the slot"
    fi
    if grep -q -F '$Killed$' "$work/Vardel.Data"; then
        bad=$((bad + 1))
        echo "trial $trial: a \$Killed\$ name is in the file"
    fi
    # A leftover copy is cleared by the next removal, which must succeed.
    if ! "$tool" --data-dir "$work" remove --slot 1 >/dev/null; then
        bad=$((bad + 1))
        echo "trial $trial: the removal after the kill failed"
    fi
done
echo "trials $trials, killed during the removal $killed, file untouched $whole, slot removed $removed, faults $bad"
[ "$bad" -eq 0 ]
