#!/usr/bin/env bash
# The scanner route for real: the sample quiz written as AMC-TXT, then the
# answer-sheet scanner package (auto-multiple-choice, with XeLaTeX) prints
# its subject and answer sheets and extracts the scoring; every question and
# right answer it read is compared with the document. A version file of
# export-amc --variants goes through the same checks.
#
# The scanner pulls in a TeX distribution of several hundred megabytes: it is
# installed here (as root, when missing), never by make test.
#
# usage: scripts/test-amc.sh BUILD_DIR [DOC.kwz]
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
doc=${2:-$here/examples/decouverte.kwz}
cli=$build/cli/tavimor-cli

packages=(auto-multiple-choice texlive-xetex fonts-linuxlibertine python3)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]} (large)"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}" >/dev/null
fi

# The answer sheets stay in BUILD_DIR/amc for a look.
work=$build/amc
rm -rf "$work"
mkdir -p "$work"
cp "$doc" "$work/quiz.kwz"
"$cli" to-json "$work/quiz.kwz" > "$work/quiz.json"
"$cli" export-amc "$work/quiz.kwz" "$work/quiz.txt"
"$cli" export-amc "$work/quiz.kwz" "$work/version.txt" --variants 2 --seed 7 >/dev/null

check() {
  local source=$1 name
  name=$(basename "$source" .txt)
  mkdir -p "$work/$name-data" "$work/$name-out"
  (cd "$work/$name-out" &&
    auto-multiple-choice prepare --mode s --with xelatex --filter plain --prefix "$work/$name-out/" \
      --data "$work/$name-data" --out-sujet "$work/$name-out/sujet.pdf" --out-corrige "$work/$name-out/corrige.pdf" \
      --out-catalog "$work/$name-out/catalog.pdf" \
      "$source" >"$work/$name-s.log" 2>&1 &&
    auto-multiple-choice prepare --mode b --with xelatex --filter plain --prefix "$work/$name-out/" \
      --data "$work/$name-data" "$source" >"$work/$name-b.log" 2>&1) || {
    echo "FAIL: the scanner could not prepare $name:"
    tail -20 "$work/$name-s.log" "$work/$name-b.log"
    exit 1
  }
  python3 - "$source" "$work/$name-data/scoring.sqlite" "$work/quiz.json" <<'PY'
import json, re, sqlite3, sys
source, scoring, document = sys.argv[1:4]
# The questions as written: each "*" line, then its "+"/"-" lines.
written = {}
last = None
for line in open(source, encoding="utf-8"):
    if line.startswith("*"):
        last = re.search(r"id=Q(\d+)", line).group(1)
        written[int(last)] = []
    elif line[:1] in "+-" and last is not None:
        written[int(last)].append(line[0] == "+")
db = sqlite3.connect(scoring)
titles = {q: t for q, t in db.execute("select question, title from scoring_title")}
read = {}
for question, answer, correct in db.execute(
        "select question, answer, correct from scoring_answer where student = 1 order by question, answer"):
    read.setdefault(question, []).append(bool(correct))
if len(read) != len(written):
    sys.exit(f"FAIL: {source}: the scanner read {len(read)} questions, the file holds {len(written)}")
# The scanner names each question after its number in the document.
quests = json.load(open(document))["Questions"]
for question, right in read.items():
    n = int(re.sub(r"\D", "", titles[question]))
    if right != written.get(n):
        sys.exit(f"FAIL: {source}: question {n}: right answers {right}, written {written.get(n)}")
    q = quests[n - 1]
    if sum(right) != 1:
        sys.exit(f"FAIL: {source}: question {n}: {sum(right)} right answers")
    # Without versions the choices stand in the document's order.
    if "version" not in source and right.index(True) != q["GoodRep"]:
        sys.exit(f"FAIL: {source}: question {n}: right choice {right.index(True)}, document {q['GoodRep']}")
# Every markable question of the document is there.
markable = [q for q in quests if 0 <= q["GoodRep"] < len(q["Reps"]) and len(q["Reps"]) >= 2]
if len(markable) != len(written):
    sys.exit(f"FAIL: {source}: {len(markable)} markable questions in the document, {len(written)} written")
print(f"{source}: {len(written)} questions, right answers as in the document")
PY
  for pdf in sujet catalog corrige; do
    [ -s "$work/$name-out/$pdf.pdf" ] || { echo "FAIL: no $pdf.pdf for $name"; exit 1; }
  done
}

check "$work/quiz.txt"
check "$work/version-A.txt"
echo "make test-amc: the scanner prepared the answer sheets of the sample quiz and of a version, in $work/quiz-out/ and $work/version-A-out/"
