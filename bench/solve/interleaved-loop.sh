#!/bin/sh
# One interleaved loop beside ccx: each round runs every given vantrel-solve binary, then ccx, on
# the hexa cantilever NX x NY x NZ with THREADS threads, and prints one line per run: round, the
# 1-minute load when the round began, wall / user / sys seconds, peak MiB and the tip corner's TZ.
# Run it under taskset to keep the cores of other work free. A SOLVE may carry options of its own
# ("vantrel-solve --pages small"), so that one binary runs under several settings in the loop.
#   bench/solve/interleaved-loop.sh ROUNDS THREADS NX NY NZ TIPNODE SOLVE...
set -euf
[ $# -ge 7 ] || { sed -n 2,7p "$0"; exit 2; }
rounds=$1 threads=$2 nx=$3 ny=$4 nz=$5 tip=$6
shift 6
gen=$(dirname "${1%% *}")/gen-model
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
"$gen" hexa "$nx" "$ny" "$nz" -o "$dir/model.vtmodel"
"$gen" ccx hexa "$nx" "$ny" "$nz" -o "$dir/model.inp"

timed() { # command...: its wall, user and sys seconds and peak KiB to $dir/time
    /usr/bin/time -f '%e %U %S %M' -o "$dir/time" "$@" >"$dir/out" 2>"$dir/err" || true
}

round=1
while [ "$round" -le "$rounds" ]; do
    load=$(cut -d' ' -f1 /proc/loadavg)
    for solve in "$@"; do
        # shellcheck disable=SC2086 # a SOLVE's own options are split from it
        timed $solve "$dir/model.vtmodel" "$dir/model.vtresult" --threads "$threads" \
            --node "N$tip"
        tz=$(sed -n 's/.*: T [^ ]* [^ ]* \([^,]*\),.*/\1/p' "$dir/out" | head -n 1)
        echo "$round $load $(echo "$solve" | tr " " _) $(awk '{ printf "%s %s %s %d", $1, $2, $3, $4 / 1024 }' \
            "$dir/time") $tz"
    done
    (cd "$dir" && export OMP_NUM_THREADS="$threads" NUMBER_OF_CPUS="$threads" && timed ccx -i model)
    tz=$(awk -v n="$tip" '$1 == n { print $4 }' "$dir/model.dat" | tail -n 1)
    echo "$round $load ccx $(awk '{ printf "%s %s %s %d", $1, $2, $3, $4 / 1024 }' \
        "$dir/time") $tz"
    round=$((round + 1))
done
