# Sourced by bench.sh: measures vellumar.exe against the floor program (an
# empty Win32 program with the same seven timers) in one run, from outside,
# and prints the ratios. Needs VELLUMAR_BUILD and a Wine session.
#   BENCH_RUNS (3)          start/memory/CPU rounds per program
#   BENCH_IDLE_SECONDS (60) length of each idle CPU measurement
#   BENCH_SETTLE_SECONDS (5) wait after hiding before the hidden measurement
#   BENCH_RELEASE_EXTRA ("50 100 250") idle processes added for the release gap
#   BENCH_EXE               another vellumar.exe to measure (an earlier build)

# Through a file, not a pipe: the programs the probe starts inherit its output
# and would hold a pipe open.
probe() {
    local out="$VELLUMAR_BUILD/bench_probe.out"
    wine "$VELLUMAR_BUILD/bench_probe.exe" "$@" >"$out" </dev/null
    tr -d '\r' <"$out"
}

# The Linux process of a running Windows program, by its full path (other
# copies may run on the machine).
linux_pid() {
    local win pid
    win=$(winepath -w "$1" 2>/dev/null)
    for pid in $(pgrep -f -- "$(basename "$1")"); do
        if [ "$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)" = "$win" ]; then
            echo "$pid"
            return
        fi
    done
}

# The wineserver of this prefix: the one working in its server folder.
wineserver_pid() {
    local dir pid
    dir="server-$(stat -c '%D' "$WINEPREFIX")-$(printf '%x' "$(stat -c '%i' "$WINEPREFIX")")"
    for pid in $(pgrep -x 'wineserver(64)?'); do
        case "$(readlink "/proc/$pid/cwd")" in */"$dir") echo "$pid"; return ;; esac
    done
}

# Private memory in KB: the process's anonymous pages (heap, stacks, bitmaps;
# not the mapped images of the executable and the DLLs).
private_kb() {
    awk '/^Anonymous:/ {a=$2} END {print a}' "/proc/$1/smaps_rollup"
}

# CPU time of each thread of a process in microseconds, one "tid time" line
# each: the scheduler's own account, exact to the nanosecond, where the
# tick counts of /proc/PID/stat come in steps of 10 ms.
cpu_threads() {
    awk '{split(FILENAME, path, "/"); printf "%s %d\n", path[5], $1 / 1000}' /proc/"$1"/task/*/schedstat 2>/dev/null
}

# Microseconds used between two snapshots of cpu_threads. A thread that ends
# in between is left out (in an idle program none does).
cpu_between() {
    awk 'NR == FNR {before[$1] = $2; next} {used += $2 - before[$1]} END {print used + 0}' "$1" "$2"
}

# Percent of one core used by the process and the wineserver over the idle time.
idle_cpu() {
    local pid=$1 server=$2 before
    before=$(cpu_threads "$pid"; cpu_threads "$server")
    sleep "$BENCH_IDLE_SECONDS"
    awk -v t="$(cpu_between <(echo "$before") <(cpu_threads "$pid"; cpu_threads "$server"))" \
        -v s="$BENCH_IDLE_SECONDS" 'BEGIN {printf "%.3f", t / 10000 / s}'
}

median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

bench_floor() {
    local runs=${BENCH_RUNS:-3}
    BENCH_IDLE_SECONDS=${BENCH_IDLE_SECONDS:-60}
    BENCH_SETTLE_SECONDS=${BENCH_SETTLE_SECONDS:-5}
    local extras=${BENCH_RELEASE_EXTRA:-50 100 250}
    local -A start mem shown hidden
    local run name exe class pid server ms
    # A hidden window of the probe keeps the desktop's process running, so
    # each start measures the program, not the desktop starting again.
    wine "$VELLUMAR_BUILD/bench_probe.exe" hold >/dev/null 2>&1 </dev/null &
    local hold=$!
    sleep 3
    for run in $(seq 1 "$runs"); do
        for name in floor tray vellumar; do
            if [ "$name" = vellumar ]; then
                exe="${BENCH_EXE:-$VELLUMAR_BUILD/vellumar.exe}"; class=FormVellumar
            else
                exe="$VELLUMAR_BUILD/floor_program.exe"; class=FloorWindow
            fi
            # "tray" is the floor with the program's tray animation: what the
            # animation alone costs under the platform.
            if [ "$name" = tray ]; then export VELLUMAR_FLOOR_TRAY=1; else unset VELLUMAR_FLOOR_TRAY; fi
            ms=$(probe start "$(winepath -w "$exe" 2>/dev/null)" "$class")
            start[$name]+="$ms "
            pid=$(linux_pid "$exe")
            server=$(wineserver_pid)
            sleep 10
            local kb
            kb=$(private_kb "$pid")
            mem[$name]+="$kb "
            shown[$name]+="$(idle_cpu "$pid" "$server") "
            probe hide "$class"
            # The desktop rearranges its taskbar after a hide; that is the
            # same for every program and not what the idle figure is for.
            sleep "$BENCH_SETTLE_SECONDS"
            hidden[$name]+="$(idle_cpu "$pid" "$server") "
            probe show "$class"
            if [ "$name" = vellumar ] && [ "$run" = 1 ]; then
                local extra
                for extra in $extras; do
                    echo "release, $extra extra processes: longest answer $(probe release "$class" "$extra")"
                done
            fi
            probe stop "$class"
            echo "run $run $name: start $ms ms, private $kb KB, idle shown" \
                "$(echo "${shown[$name]}" | awk '{print $NF}') %, hidden $(echo "${hidden[$name]}" | awk '{print $NF}') %"
        done
    done
    unset VELLUMAR_FLOOR_TRAY
    probe stop BenchProbeHold
    wait "$hold" 2>/dev/null || true
    local what f v
    echo "== vellumar.exe against the floor program (medians of $runs runs)"
    echo "   (floor+tray: the floor with the tray animation; last column vellumar / floor+tray)"
    printf '%-28s %10s %10s %10s %7s %7s\n' "" floor floor+tray vellumar ratio "/tray"
    local t
    # Each run's own ratios: the programs of one run are measured minutes
    # apart, so these are free of the machine's slower drifts.
    for what in shown hidden; do
        local -n each=$what
        echo "idle CPU $what, vellumar / floor in each run:" \
            "$(paste -d ' ' <(echo "${each[floor]}" | tr ' ' '\n') <(echo "${each[vellumar]}" | tr ' ' '\n') |
                awk '$1 > 0 {printf "%.2fx ", $2 / $1}')"
    done
    for what in start mem shown hidden; do
        local -n values=$what
        f=$(echo "${values[floor]}" | median)
        t=$(echo "${values[tray]}" | median)
        v=$(echo "${values[vellumar]}" | median)
        printf '%-28s %10s %10s %10s %7s %7s\n' \
            "$(case $what in start) echo 'start to visible (ms)';; mem) echo 'private memory (KB)';;
                  shown) echo 'idle CPU shown (% core)';; hidden) echo 'idle CPU hidden (% core)';; esac)" \
            "$f" "$t" "$v" "$(awk -v f="$f" -v v="$v" 'BEGIN {if (f > 0) printf "%.2f", v / f; else print "-"}')" \
            "$(awk -v f="$t" -v v="$v" 'BEGIN {if (f > 0) printf "%.2f", v / f; else print "-"}')"
    done
    local exe_bytes stripped
    exe="${BENCH_EXE:-$VELLUMAR_BUILD/vellumar.exe}"
    exe_bytes=$(stat -c %s "$exe")
    stripped=$(mktemp)
    x86_64-w64-mingw32-strip --strip-all -o "$stripped" "$exe"
    echo "vellumar.exe: $exe_bytes bytes as built, $(stat -c %s "$stripped") stripped"
    rm -f "$stripped"
}
