#!/bin/sh
# Runs each fuzz target of a `make fuzz` build for a number of seconds, one after the other, on a working copy of
# its seed corpus (the committed corpus is not changed). Crashes are kept in BUILD/findings/TARGET.
# usage: tools/run-fuzz.sh BUILD SECONDS [TARGET...]
set -e
build=$1
seconds=$2
shift 2
targets=${*:-"fuzz_personnel_record fuzz_user_record fuzz_data_file fuzz_date_entry fuzz_old_personnel_record fuzz_csv_import fuzz_backup_manifest fuzz_change_log"}
here=$(cd "$(dirname "$0")/.." && pwd)
for target in $targets; do
    work="$build/corpus-work/$target"
    findings="$build/findings/$target"
    mkdir -p "$work" "$findings"
    cp -n "$here/fuzz/corpus/$target/"* "$work/" 2>/dev/null || true
    echo "== $target for $seconds s"
    TMPDIR=${TMPDIR:-/dev/shm} "$build/fuzz/$target" -max_total_time="$seconds" -max_len=20000 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" "$work"
done
