#!/usr/bin/env bash
# Measures the cost of one interval slot's data-file write (in-place append against a whole
# rewrite) for files of 10 to 1000 records and plots it to docs/slot-write-cost.png.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v gnuplot >/dev/null || {
  [ "$(id -u)" -eq 0 ] || { echo "gnuplot is needed (apt-get install gnuplot-nox)"; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq gnuplot-nox >/dev/null
}
cmake --build build --target halvo_bench_data >/dev/null
data=$(mktemp)
build/bin/halvo_bench_data --benchmark_filter='BM_(AppendOneRecord|RewriteWithOneMore)/' \
  --benchmark_repetitions=7 --benchmark_report_aggregates_only=true \
  --benchmark_format=csv 2>/dev/null |
  awk -F, '/_median/ { gsub(/"/, "", $1); split($1, p, "/"); sub(/_median/, "", p[2]);
                       print p[1], p[2], $3 }' > "$data"
grep AppendOneRecord "$data" | awk '{print $2, $3}' > "$data.append"
grep RewriteWithOneMore "$data" | awk '{print $2, $3}' > "$data.rewrite"
gnuplot <<GP
set terminal pngcairo size 800,500 font "Liberation Sans,11"
set output "docs/slot-write-cost.png"
set title "One interval slot's data-file write"
set xlabel "records already in the file"
set ylabel "wall time per slot, median of 7 [ms]"
set logscale xy
set grid
set key top left
plot "$data.append" using 1:2 with linespoints lw 2 title "in-place append (Halvo)", \
     "$data.rewrite" using 1:2 with linespoints lw 2 title "read all + rewrite all"
GP
cat "$data"
rm -f "$data" "$data.append" "$data.rewrite"
echo "wrote docs/slot-write-cost.png"
