#!/usr/bin/env bash
# Whole-process measurements of `make bench`, each against a physical
# reference measured in the same hyperfine run (ratios of medians: absolute
# times drift on shared machines):
#   1. tavimor-cli produce of a generated 10,000-question document against
#      cp -r of the folder it produces (target: at most 3 times);
#   1b. tavimor-cli standalone of the same document against cp of the page
#      it writes (target: at most 3 times);
#      both also alternated, round after round (bench/alternate.py), as
#      commands run one after the other can meet different moments of a
#      shared machine;
#      both beside their floor: tavimor-io-floor reads the document and
#      writes files of the same sizes, without any of the work (reported);
#   1c. both again on a bank of 10,000 short questions (reported: the
#      targets are about the big document, but other shapes should stay near);
#   2. the peak memory of that production against the size of the document
#      (target: at most 4 times);
#   3. the editor's start to its first window on the screen against a minimal
#      Qt Widgets program (target: at most 1.5 times), all programs ending the
#      moment their first window is exposed (TAVIMOR_EXIT_ON_FIRST_WINDOW), on
#      an X server (xvfb-run when there is no display). The editor's first
#      window is its start-up splash; tavimor-editor-start is the editor
#      without the splash, timed to its main window;
#   4. the editor opening the 10,000-question document and showing its list
#      (target: under 0.3 s): tavimor-editor-start on the document less
#      tavimor-editor-start on none;
#   5. tavimor-cli results reading, checking and analysing 1,000 students'
#      results files of a 100-question quiz (target: under 1 s), against cat
#      of the same files (reported as a ratio).
# The editor parts need the benchmark build with the editor (BUILD_DIR/app,
# tavimor-minimal-window, tavimor-editor-start); without it they are skipped.
#
# usage: bench/whole-process.sh BUILD_DIR     (RUNS=n sets hyperfine's run count)
set -euo pipefail

if [ $# -ne 1 ]; then
  echo "usage: $0 BUILD_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
runs=${RUNS:-30}
cli=$build/cli/tavimor-cli
bigdoc=$build/bench/tavimor-bigdoc
floor=$build/bench/tavimor-io-floor
editor=$build/app/tavimor
minimal=$build/bench/tavimor-minimal-window
editor_start=$build/bench/tavimor-editor-start
results_files=$build/bench/tavimor-results-files
for tool in hyperfine python3 /usr/bin/time; do
  command -v "$tool" >/dev/null || { echo "$tool is needed (scripts/setup-deps.sh installs it)" >&2; exit 2; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/tavimor-whole-XXXXXX")
trap 'rm -rf "$work"' EXIT
questions=10000

# Prints "name median_s" for each command of a hyperfine JSON file, then the
# ratio of the first median to the second.
medians() {
  python3 - "$1" <<'EOF'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
for r in results:
    print(f"  {r['command']:<28} median {r['median'] * 1000:8.1f} ms   (user {r['user'] * 1000:.1f} ms, system {r['system'] * 1000:.1f} ms)")
EOF
}
# JSON file, index of the measured command, index of the reference: the
# ratio of their medians, or (with "minus") their difference in ms.
compare() {
  python3 - "$@" <<'EOF'
import json, sys
results = json.load(open(sys.argv[1]))["results"]
measured, reference = (results[int(i)]["median"] for i in sys.argv[2:4])
if len(sys.argv) > 4 and sys.argv[4] == "minus":
    print(f"{(measured - reference) * 1000:.0f}")
else:
    print(f"{measured / reference:.2f}")
EOF
}

echo "== whole processes ($questions questions, $runs runs each)"
"$bigdoc" "$questions" "$work/Banque.kwz"
mkdir "$work/prefs"
"$cli" produce "$work/Banque.kwz" --prefs "$work/prefs" >/dev/null
cp -r "$work/Banque" "$work/Site"
doc_bytes=$(stat -c %s "$work/Banque.kwz")
site_bytes=$(du -sb "$work/Site" | cut -f1)
echo "document $doc_bytes bytes, site $site_bytes bytes"

# 1. Both start from nothing: the produced folder and the copy are removed first.
# The floor under both: reading the document and writing files of the same
# sizes, without any of the work (tavimor-io-floor).
site_sizes=$(find "$work/Site" -type f -printf '%s ')
hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/produce.json" \
  --prepare "rm -rf $work/Banque" -n "tavimor-cli produce" "$cli produce $work/Banque.kwz --prefs $work/prefs" \
  --prepare "rm -rf $work/Copie" -n "cp -r (its site)" "cp -r $work/Site $work/Copie" \
  --prepare "rm -rf $work/Floor" -n "I/O floor (its site)" "$floor $work/Banque.kwz $work/Floor $site_sizes" >/dev/null
medians "$work/produce.json"
produce_ratio=$(compare "$work/produce.json" 0 1)
echo "produce / cp -r: $produce_ratio  (target <= 3)"
echo "I/O floor / cp -r: $(compare "$work/produce.json" 2 1)"
"$here/alternate.py" "$runs" \
  "tavimor-cli produce" "rm -rf $work/Banque" "$cli produce $work/Banque.kwz --prefs $work/prefs" \
  "cp -r (its site)" "rm -rf $work/Copie" "cp -r $work/Site $work/Copie"

# 1b. The self-contained quiz of the same document against cp of the page.
"$cli" standalone "$work/Banque.kwz" "$work/Quiz.html" --prefs "$work/prefs" >/dev/null
hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/standalone.json" \
  --prepare "rm -f $work/Autonome.html" -n "tavimor-cli standalone" \
  "$cli standalone $work/Banque.kwz $work/Autonome.html --prefs $work/prefs" \
  --prepare "rm -f $work/Copie.html" -n "cp (its page)" "cp $work/Quiz.html $work/Copie.html" \
  --prepare "rm -rf $work/Floor" -n "I/O floor (its page)" \
  "$floor $work/Banque.kwz $work/Floor $(stat -c %s "$work/Quiz.html")" >/dev/null
medians "$work/standalone.json"
echo "standalone / cp: $(compare "$work/standalone.json" 0 1)  (target <= 3)"
echo "I/O floor / cp: $(compare "$work/standalone.json" 2 1)"
"$here/alternate.py" "$runs" \
  "tavimor-cli standalone" "rm -f $work/Autonome.html" \
  "$cli standalone $work/Banque.kwz $work/Autonome.html --prefs $work/prefs" \
  "cp (its page)" "rm -f $work/Copie.html" "cp $work/Quiz.html $work/Copie.html"

# 1c. Both again on a bank of short questions (tavimor-bigdoc --short), whose
# site is mostly the fixed part of each record: the ratios of another shape
# of document than the big one, reported beside the targets.
"$bigdoc" --short "$questions" "$work/Courtes.kwz"
"$cli" produce "$work/Courtes.kwz" --prefs "$work/prefs" >/dev/null
cp -r "$work/Courtes" "$work/SiteCourt"
"$cli" standalone "$work/Courtes.kwz" "$work/Courtes.html" --prefs "$work/prefs" >/dev/null
echo "short questions: document $(stat -c %s "$work/Courtes.kwz") bytes, site $(du -sb "$work/SiteCourt" | cut -f1) bytes"
hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/short.json" \
  --prepare "rm -rf $work/Courtes" -n "tavimor-cli produce (short)" "$cli produce $work/Courtes.kwz --prefs $work/prefs" \
  --prepare "rm -rf $work/CopieCourt" -n "cp -r (its site)" "cp -r $work/SiteCourt $work/CopieCourt" \
  --prepare "rm -f $work/Autonome.html" -n "tavimor-cli standalone (short)" \
  "$cli standalone $work/Courtes.kwz $work/Autonome.html --prefs $work/prefs" \
  --prepare "rm -f $work/Copie.html" -n "cp (its page)" "cp $work/Courtes.html $work/Copie.html" >/dev/null
medians "$work/short.json"
echo "short questions, produce / cp -r: $(compare "$work/short.json" 0 1)"
echo "short questions, standalone / cp: $(compare "$work/short.json" 2 3)"
rm -rf "$work/Courtes"
peak_kib=$(/usr/bin/time -f %M "$cli" produce "$work/Courtes.kwz" --prefs "$work/prefs" 2>&1 >/dev/null | tail -1)
echo "short questions, peak memory of produce: $(python3 -c "print(f'{$peak_kib * 1024 / $(stat -c %s "$work/Courtes.kwz"):.2f}')") x the document"

# 2. Peak resident memory of the production.
rm -rf "$work/Banque"
peak_kib=$(/usr/bin/time -f %M "$cli" produce "$work/Banque.kwz" --prefs "$work/prefs" 2>&1 >/dev/null | tail -1)
memory_ratio=$(python3 -c "print(f'{$peak_kib * 1024 / $doc_bytes:.2f}')")
echo "peak memory of produce: $peak_kib KiB = $memory_ratio x the document  (target <= 4)"

# 5. A class of 1,000 students' results files of a 100-question quiz, read,
# checked and analysed (the marks table and the questions' statistics), against
# cat of the same files. The files are passed one by one to both.
"$bigdoc" 100 "$work/Classe.kwz"
"$results_files" "$work/Classe.kwz" 1000 "$work/Copies"
record_files=$(find "$work/Copies" -type f -name '*.json' | sort | tr '\n' ' ')
"$cli" results "$work/Classe.kwz" $record_files | sed -n 1p
hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/results.json" \
  -n "tavimor-cli results (1,000 files)" "$cli results $work/Classe.kwz --json $record_files" \
  -n "cat (the same files)" "cat $record_files" >/dev/null
medians "$work/results.json"
results_ms=$(python3 -c "import json; print(f\"{json.load(open('$work/results.json'))['results'][0]['median'] * 1000:.0f}\")")
echo "results of 1,000 files: $results_ms ms  (target < 1000); results / cat: $(compare "$work/results.json" 0 1)"

# 3 and 4. The editor, on a display of its own.
if [ ! -x "$editor" ] || [ ! -x "$minimal" ] || [ ! -x "$editor_start" ]; then
  echo "(no editor in $build: the start-up comparison is skipped)"
  exit 0
fi
if [ -z "${DISPLAY:-}" ]; then
  command -v xvfb-run >/dev/null || { echo "xvfb-run is needed for the editor's start-up" >&2; exit 2; }
  display_run=(xvfb-run -a -s "-screen 0 1280x1024x24")
else
  display_run=()
fi
# A home of its own, so that the editor's first-start work (its folders)
# happens in the warm-up runs and nowhere else. The settings beside the
# programs say that the document type is registered, as a user's settings say
# after the editor's first start: the runs end before the editor saves its
# settings, so without this each of them would register the type again.
mkdir -p "$work/home/config" "$work/home/data"
for program in "$editor" "$editor_start"; do
  settings=$(dirname "$program")/$(basename "$program").ini
  [ -e "$settings" ] || printf '[PREFS]\r\nregisterFType=1\r\n' >"$settings"
done
"${display_run[@]}" env HOME="$work/home" XDG_CONFIG_HOME="$work/home/config" XDG_DATA_HOME="$work/home/data" \
  QT_QPA_PLATFORM=xcb TAVIMOR_EXIT_ON_FIRST_WINDOW=1 \
  hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$work/start.json" \
  -n "minimal Qt Widgets window" "$minimal" \
  -n "tavimor (its splash)" "$editor" \
  -n "editor main window" "$editor_start" \
  -n "editor main window, document" "$editor_start $work/Banque.kwz" >/dev/null
medians "$work/start.json"
echo "editor first window / minimal Qt Widgets program: $(compare "$work/start.json" 1 0)  (target <= 1.5)"
echo "editor main window (no splash) / minimal Qt Widgets program: $(compare "$work/start.json" 2 0)"
echo "opening the $questions-question document and showing its list: $(compare "$work/start.json" 3 2 minus) ms  (target < 300)"
