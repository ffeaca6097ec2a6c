#!/usr/bin/env bash
# Executed instructions per call of every computational function, against its
# plain counterpart, and per text of the parser, against std::from_chars and
# strtod: on the host under valgrind (cachegrind), on the target (ppc32)
# under qemu-user with bench/count/qemu_insn_count.c. The library is built
# Release, installed, and the programs of bench/count link it like a user's.
#
#   scripts/count.sh [options]
#     --rev REV        count the library of git revision REV (default: the tree as it is)
#     --source DIR     count the library of another source tree
#     --label NAME     results go to build/count/NAME (default: the revision, or "tree")
#     --machines LIST  "host ppc" (default), or one of them
#     --only REGEX     only the names that match (e.g. 'parse' or 'KEL_D')
#     --check          fail when a count of ours rises more than 2 % above bench/count/baseline.txt
#     --update         rewrite bench/count/baseline.txt with these counts
#     --docs           write the tables into docs/performance.md (against bench/count/before.txt)
#     --plot           also count texts of 1 to 40 and 100 significant digits and draw
#                      docs/parser-digits.png
#     -n N             calls (texts) per count, default 2000
#     --built MACHINE DIR  install and count DIR, a Release build of this tree for MACHINE
#                      (host or ppc; test-all.sh passes the readme stage's), instead of
#                      building the library again
#
# Counts are exact and repeat on one machine image; a new compiler or C library
# moves them, and then --update records the new ones on purpose.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/deps.sh"

rev="" source_dir=$root label="" machines="host ppc" only="" check=0 update=0 docs=0 plot=0 n=2000
declare -A built=()
while [ $# -gt 0 ]; do
  case $1 in
    --rev) rev=$2; shift ;;
    --source) source_dir=$(cd "$2" && pwd); shift ;;
    --label) label=$2; shift ;;
    --machines) machines=$2; shift ;;
    --only) only=$2; shift ;;
    --check) check=1 ;;
    --update) update=1 ;;
    --docs) docs=1 ;;
    --plot) plot=1 ;;
    -n) n=$2; shift ;;
    --built) built[$2]=$(cd "$3" && pwd); shift 2 ;;
    *) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 2 ;;
  esac
  shift
done
kel_require "${KEL_COUNT_PACKAGES[@]}" "${KEL_TARGET_PACKAGES[@]}"
if [ ${#built[@]} -gt 0 ] && [ "$source_dir" != "$root" ]; then
  echo "--built counts this tree's builds, not those of --rev or --source" >&2
  exit 2
fi

work=$root/build/count
baseline=$root/bench/count/baseline.txt
before=$root/bench/count/before.txt
jobs=$(nproc)
mkdir -p "$work"
if [ -n "$rev" ]; then
  label=${label:-$rev}
  source_dir=$work/$label/src
  rm -rf "$source_dir" && mkdir -p "$source_dir"
  git -C "$root" archive "$rev" | tar -x -C "$source_dir"
fi
label=${label:-tree}
out=$work/$label
mkdir -p "$out"

plugin=$work/libinsn_count.so
if [ ! -f "$plugin" ] || [ "$root/bench/count/qemu_insn_count.c" -nt "$plugin" ]; then
  cc -shared -fPIC -O2 -o "$plugin" "$root/bench/count/qemu_insn_count.c"
fi

toolchain() { [ "$1" = host ] || echo "-DCMAKE_TOOLCHAIN_FILE=$root/cmake/powerpc-linux-gnu.cmake"; }

build() {
  local machine=$1 dir=$out/$1 lib=${built[$1]:-$out/$1/lib}
  if [ -z "${built[$1]:-}" ]; then
    # shellcheck disable=SC2046
    cmake -S "$source_dir" -B "$lib" $(toolchain "$machine") -DCMAKE_BUILD_TYPE=Release \
      -DKEL_BUILD_TESTS=OFF -DKEL_BUILD_EXAMPLES=OFF -DKEL_BUILD_BENCH=OFF -DKEL_BUILD_TOOLS=OFF >/dev/null
    nice -n 10 cmake --build "$lib" -j "$jobs" >/dev/null
  elif ! grep -q '^CMAKE_BUILD_TYPE:STRING=Release$' "$lib/CMakeCache.txt"; then
    echo "$lib is not a Release build" >&2
    exit 2
  fi
  rm -rf "$dir/install"
  cmake --install "$lib" --prefix "$dir/install" >/dev/null
  # shellcheck disable=SC2046
  cmake -S "$root/bench/count" -B "$dir/programs" $(toolchain "$machine") -DCMAKE_BUILD_TYPE=Release \
    -Dkelsoft_DIR="$dir/install/lib/cmake/kelsoft" >/dev/null
  nice -n 10 cmake --build "$dir/programs" -j "$jobs" >/dev/null
}

# run MACHINE PROGRAM ARGS...: the program's standard output.
run() {
  local machine=$1
  shift
  if [ "$machine" = host ]; then "$@"; else qemu-ppc -L /usr/powerpc-linux-gnu "$@"; fi
}

# One line of the job list: MACHINE KEY PROGRAM ARGS...; prints MACHINE KEY COUNT.
# Every run has the same command line length and no environment, from the
# program's folder: under qemu the same loop counts up to 40 instructions
# more per text when the strings above the stack differ in length by as
# little as one byte. The programs ignore the padding argument.
count_one() {
  local machine=$1 key=$2 program=$3 count pad
  shift 3
  cd "$(dirname "$program")"
  program=./$(basename "$program")
  pad=$(printf '%*s' $((80 - ${#program} - ${#*})) '' | tr ' ' x)
  set -- "$@" "$pad"
  if [ "$machine" = host ]; then
    count=$(env -i /usr/bin/valgrind --tool=cachegrind --cache-sim=no --cachegrind-out-file=/dev/null \
      "$program" "$@" 2>&1 >/dev/null | sed -n 's/.*I *refs: *//p' | tr -d ,)
  else
    count=$(env -i /usr/bin/qemu-ppc -L /usr/powerpc-linux-gnu -plugin "$plugin" -d plugin "$program" "$@" 2>&1 \
      >/dev/null | sed -n 's/^insns: //p')
  fi
  [ -n "$count" ] || { echo "no count: $machine $program $*" >&2; return 1; }
  echo "$machine $key $count"
}
export -f count_one
export plugin

sets="short coordinates digits17 int100 mixed realistic digits34_40"
if [ $plot = 1 ]; then
  for d in $(seq 1 40) 100; do sets+=" digits:$d"; done
fi

: >"$out/jobs"
for machine in $machines; do
  echo "building the library and the counting programs: $machine" >&2
  build "$machine"
  programs=$out/$machine/programs
  for family in arith convert elementary text; do
    echo "$machine $family:none $programs/count_$family none $n" >>"$out/jobs"
    run "$machine" "$programs/count_$family" list | while read -r name plain; do
      [[ -z $only || $name =~ $only ]] || continue
      echo "$machine $family:$name $programs/count_$family $name $n" >>"$out/jobs"
      [ "$plain" = plain ] && echo "$machine $family:plain:$name $programs/count_$family plain:$name $n" >>"$out/jobs"
      :
    done
  done
  for set in $sets; do
    [[ -z $only || parse:$set =~ $only ]] || continue
    for parser in none kel from_chars strtod; do
      echo "$machine parse:$set:$parser $programs/count_parse $set $parser $n" >>"$out/jobs"
    done
  done
done
echo "counting: $(wc -l <"$out/jobs") runs" >&2
xargs -P "$jobs" -L 1 bash -c 'count_one "$@"' _ <"$out/jobs" | sort >"$out/raw.txt"

# Per call: (count - count of the same program's empty loop) / n.
awk -v n="$n" '
  { fam = $2; if (fam ~ /^parse:/) sub(/:[^:]*$/, "", fam); else sub(/:.*/, "", fam)
    raw[$1 " " $2] = $3; key[NR] = $1 " " $2; famof[NR] = $1 " " fam }
  END { for (i = 1; i <= NR; ++i) {
          split(key[i], mk, " "); if (mk[2] ~ /:none$/) continue
          split(famof[i], mf, " ")
          none = mf[1] " " mf[2] ":none"
          name = mk[2]; if (name !~ /^parse:/) sub(/^[a-z]+:/, "", name)
          printf "%s %s %.1f\n", mk[1], name, (raw[key[i]] - raw[none]) / n } }' "$out/raw.txt" |
  sort -k1,1 -k2,2 >"$out/counts.txt"

value() { awk -v m="$2" -v k="$3" '$1 == m && $2 == k { print $3 }' "$1"; }
export -f value

# Markdown tables: the calls, then the parser.
tables() {
  local now=$1 old=$2
  python3 - "$now" "$old" <<'PY'
import sys, os
def load(path):
    d = {}
    if path and os.path.exists(path):
        for line in open(path):
            f = line.split()
            if len(f) == 3 and not line.startswith('#'):
                d[(f[0], f[1])] = float(f[2])
    return d
now, old = load(sys.argv[1]), load(sys.argv[2])
def fmt(x):
    return '' if x is None else f'{x:,.1f}'
names = sorted({k[1] for k in now if not k[1].startswith(('plain:', 'parse:'))},
               key=lambda s: [k[1] for k in sorted(now)].index(s))
machines = [m for m in ('ppc', 'host') if any(k[0] == m for k in now)]
head = '| call |' + ''.join(f' {m}: before | {m}: now | {m}: plain | {m}: now − plain |' for m in machines)
print(head)
print('|---|' + '---:|' * 4 * len(machines))
for name in names:
    row = f'| `{name}` |'
    for m in machines:
        b, c, p = old.get((m, name)), now.get((m, name)), now.get((m, 'plain:' + name))
        row += f' {fmt(b)} | {fmt(c)} | {fmt(p)} | {fmt(None if p is None or c is None else c - p)} |'
    print(row)
print()
sets = [('coordinates', 'coordinates (`-123.4567890`)'), ('digits17', '17 significant digits'),
        ('short', 'short integers'), ('int100', '100-digit integers'), ('mixed', 'mixed'),
        ('realistic', 'realistic (`bench/realistic_texts.h`)'), ('digits34_40', '34 to 40 significant digits')]
print('| texts |' + ''.join(f' {m}: ours before | {m}: ours now | {m}: from_chars | {m}: strtod |' for m in machines))
print('|---|' + '---:|' * 4 * len(machines))
for key, title in sets:
    if not any(k[1] == f'parse:{key}:kel' for k in now):
        continue
    row = f'| {title} |'
    for m in machines:
        g = lambda d, p: d.get((m, f'parse:{key}:{p}'))
        row += f' {fmt(g(old, "kel"))} | {fmt(g(now, "kel"))} | {fmt(g(now, "from_chars"))} | {fmt(g(now, "strtod"))} |'
    print(row)
PY
}

tables "$out/counts.txt" "$before" | tee "$out/tables.md"

if [ $docs = 1 ]; then
  python3 - "$root/docs/performance.md" "$out/tables.md" <<'PY'
import sys
path, tables = sys.argv[1], open(sys.argv[2]).read()
text = open(path).read()
begin, end = '<!-- scripts/count.sh --docs: begin -->\n', '<!-- scripts/count.sh --docs: end -->\n'
if begin not in text:
    sys.exit(f'{path}: no place for the tables ({begin.strip()})')
head, rest = text.split(begin, 1)
open(path, 'w').write(head + begin + tables + end + rest.split(end, 1)[1])
PY
  echo "tables written into docs/performance.md" >&2
fi

if [ $plot = 1 ]; then
  for m in ppc host; do
    for d in $(seq 1 40) 100; do
      # 100 digits stand apart, at 44 on the axis.
      [ "$d" = 100 ] && printf '\n'
      echo "$((d == 100 ? 44 : d)) $(value "$out/counts.txt" $m parse:digits:$d:kel) $(value "$out/counts.txt" $m parse:digits:$d:from_chars)" \
        "$(value "$out/counts.txt" $m parse:digits:$d:strtod)"
    done >"$out/digits-$m.dat"
  done
  gnuplot <<EOF
set terminal pngcairo size 1000,560 font "sans,10" noenhanced
set output "$root/docs/parser-digits.png"
set title "Instructions per text against significant digits (texts d.ddd…e±xx)"
set xlabel "significant digits"
set ylabel "instructions per text"
set key top left
set grid
set xrange [0:45]
set xtics (1, 5, 10, 15, 17, 20, 25, 30, 35, 40, "100" 44)
plot "$out/digits-ppc.dat" using 1:2 with linespoints lw 2 pt 7 ps 0.6 lc rgb "#c03020" title "ours, ppc32", \
     "" using 1:3 with linespoints lw 2 pt 7 ps 0.6 lc rgb "#2050c0" title "from_chars, ppc32", \
     "" using 1:4 with linespoints lw 2 pt 7 ps 0.6 lc rgb "#208040" title "strtod, ppc32", \
     "$out/digits-host.dat" using 1:2 with linespoints lw 1 dt 2 pt 6 ps 0.6 lc rgb "#c03020" title "ours, x86_64", \
     "" using 1:3 with linespoints lw 1 dt 2 pt 6 ps 0.6 lc rgb "#2050c0" title "from_chars, x86_64", \
     "" using 1:4 with linespoints lw 1 dt 2 pt 6 ps 0.6 lc rgb "#208040" title "strtod, x86_64"
EOF
  echo "drawn: docs/parser-digits.png" >&2
fi

# Ours only: the plain counterparts, from_chars and strtod belong to the compiler and C library.
ours() { grep -Ev ' (plain:|parse:digits:)' "$1" | grep -Ev ' parse:[^ ]*:(from_chars|strtod) ' || true; }
if [ $update = 1 ]; then
  {
    echo "# Instructions per call (per text for parse:), Release build; scripts/count.sh --update"
    ours "$out/counts.txt"
  } >"$baseline"
  echo "baseline written: bench/count/baseline.txt" >&2
fi
if [ $check = 1 ]; then
  [ -f "$baseline" ] || { echo "no baseline: bench/count/baseline.txt (scripts/count.sh --update makes it)" >&2; exit 1; }
  ours "$out/counts.txt" | awk -v base="$baseline" '
    BEGIN { while ((getline line < base) > 0) if (line !~ /^#/) { split(line, f, " "); b[f[1] " " f[2]] = f[3] } }
    { k = $1 " " $2; if (!(k in b)) next; checked++
      if ($3 > b[k] * 1.02) { printf "count rose: %s %s %s -> %s\n", $1, $2, b[k], $3; bad++ } }
    END { printf "count: %d counts checked against the baseline, %d rose more than 2%%\n", checked, bad
          exit bad > 0 }'
fi
