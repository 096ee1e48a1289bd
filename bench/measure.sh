# Helpers the benchmark scripts share; sourced, not run.

# Nanoseconds of CPU time used so far by every thread of process $1, from the scheduler's counts.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f\n", s }'; }

now_ns() { date +%s%N; }

# The median of the numbers on standard input, one per line.
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
