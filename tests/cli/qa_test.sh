#!/bin/sh
# End-to-end checks of the review of a translation against its original: a copy of a demo
# archive with findings planted in chosen texts, and the archive against itself.
# Usage: qa_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

"$cli" sample demo.lgp --levels 40 --seed 1997
check "an archive against itself is clean" 0 "$(status "$cli" qa demo.lgp demo.lgp)"
check "and prints nothing" "" "$("$cli" qa demo.lgp demo.lgp 2>/dev/null)"
check "the summary" "orvenne-cli qa: 0 errors, 0 warnings in 0 texts; 0 of $("$cli" info demo.lgp | sed -n 's/^texts: //p') texts translated (0.0 %)" \
    "$("$cli" qa demo.lgp demo.lgp 2>&1 >/dev/null)"

# Each finding planted in a text of its own, chosen by what the text holds; beside them a
# {VAR1} moved but kept, which is fine. Writes the edits and the lines qa must print.
"$cli" export demo.lgp demo.json
python3 - <<'PLANT'
import json, re

levels = json.load(open("demo.json"))["levels"]
used = set()
edits = {}
expected = []

def plant(fits, change, finding=None):
    for level in levels:
        for text in level["texts"]:
            key = (level["name"], text["text"])
            tagged = text["tagged"]
            if key in used or not fits(tagged):
                continue
            used.add(key)
            edits.setdefault(level["name"], []).append(
                {"text": text["text"], "tagged": change(tagged)})
            if finding:
                expected.append("%s\t%d\t%s" % (level["name"], text["text"], finding(tagged)))
            return
    raise SystemExit("no text fits")

def lines(tagged):
    return tagged.split("\r\n")

def plain(tagged):
    return "{CHOICE}" not in tagged and "  " not in tagged and not tagged.endswith(" ")

def choice_lines(tagged):
    numbers = [n + 1 for n, line in enumerate(lines(tagged)) if "{CHOICE}" in line]
    return "lines %d to %d" % (numbers[0], numbers[-1])

plant(lambda t: "{CHOICE}" in t, lambda t: t + "\r\nMaybe",
      lambda t: "error\tquestion\t%d lines, the original %d (the ASK opcode's choices: %s)"
      % (len(lines(t)) + 1, len(lines(t)), choice_lines(t)))
plant(lambda t: plain(t) and t.count("{VAR1}") == 1 and "{VAR1} " in t,
      lambda t: t.replace("{VAR1} ", "ten "), lambda t: "error\tvariables\t{VAR1} missing")
plant(lambda t: plain(t) and t.count("{VAR1}") == 1 and "{VAR1} " in t,
      lambda t: t.replace("{VAR1} ", "ten ") + "{VAR1}")
plant(lambda t: plain(t) and t != "", lambda t: "",
      lambda t: "error\tempty\tempty, the original is not")
plant(plain, lambda t: t + " ",
      lambda t: "warning\tspaces\tline %d ends with 1 space, in the original with 0"
      % len(lines(t)))
plant(lambda t: plain(t) and "{NEW PAGE}" not in t, lambda t: t + "\r\n{NEW PAGE}\r\nEncore",
      lambda t: "warning\tpages\t2 pages, the original 1")
plant(lambda t: plain(t) and re.search(r"\w \w", t),
      lambda t: re.sub(r"(\w) (\w)", r"\1  \2", t, count=1),
      lambda t: "warning\tdouble-space\t1 double space, the original 0")

json.dump({"levels": [{"name": name, "texts": texts} for name, texts in edits.items()]},
          open("plant.json", "w"))
order = {level["name"]: n for n, level in enumerate(levels)}
expected.sort(key=lambda line: (order[line.split("\t")[0]], int(line.split("\t")[1])))
open("expected.txt", "w").write("".join(line + "\n" for line in expected))
PLANT
"$cli" import demo.lgp plant.json -o planted.lgp > /dev/null
"$cli" qa planted.lgp demo.lgp > found.txt 2> summary.txt
check "qa finds what was planted" 1 "$(status "$cli" qa planted.lgp demo.lgp)"
check "exactly the planted findings" "$(cat expected.txt)" "$(cat found.txt)"
check "the summary counts them" "orvenne-cli qa: 3 errors, 3 warnings in 6 texts; 7 of" \
    "$(sed 's/ of .*/ of/' summary.txt)"
check "the original is the other way round" 1 "$(status "$cli" qa demo.lgp planted.lgp)"

# Warnings alone leave the status at 0.
grep -v error expected.txt | cut -f 1,2 > warned.txt
python3 - <<'WARNED'
import json
keep = {tuple(line.split("\t")) for line in open("warned.txt").read().split("\n") if line}
levels = json.load(open("plant.json"))["levels"]
for level in levels:
    level["texts"] = [t for t in level["texts"] if (level["name"], str(t["text"])) in keep]
json.dump({"levels": [l for l in levels if l["texts"]]}, open("warned.json", "w"))
WARNED
"$cli" import demo.lgp warned.json -o warned.lgp > /dev/null
check "warnings alone" 0 "$(status "$cli" qa warned.lgp demo.lgp)"
check "and they are printed" "$(grep -c warning expected.txt)" "$("$cli" qa warned.lgp demo.lgp 2>/dev/null | wc -l | tr -d ' ')"

# The overflow check adds its findings: the same texts and windows as check finds.
"$cli" qa demo.lgp demo.lgp --overflow > overflows.txt 2>/dev/null
check "overflows are errors" 1 "$(status "$cli" qa demo.lgp demo.lgp --overflow)"
check "one line per overflow, as check" "$("$cli" check demo.lgp 2>/dev/null | wc -l | tr -d ' ')" \
    "$(wc -l < overflows.txt | tr -d ' ')"
check "five fields, an overflow error in a window from 1" 0 \
    "$(awk -F '\t' 'NF != 5 || $3 != "error" || $4 != "overflow" || $5 !~ /^window [1-9][0-9]*: /' overflows.txt | wc -l | tr -d ' ')"
check "the widest names overflow more" 1 \
    "$("$cli" qa demo.lgp demo.lgp --overflow --names widest 2>/dev/null | awk -v n="$(wc -l < overflows.txt)" 'END { print (NR > n) }')"

# Failures and bad arguments are 2: 1 means an error found.
check "an original that is missing" 2 "$(status "$cli" qa demo.lgp missing.lgp)"
check "an archive that is no archive" 2 "$(status "$cli" qa plant.json demo.lgp)"
check "one archive only" 2 "$(status "$cli" qa demo.lgp)"
check "names without the overflow check" 2 "$(status "$cli" qa demo.lgp demo.lgp --names widest)"
check "unknown names" 2 "$(status "$cli" qa demo.lgp demo.lgp --overflow --names long)"
check "an unknown option" 2 "$(status "$cli" qa demo.lgp demo.lgp --fast)"
check "the help gives the exit status" 1 "$("$cli" qa --help | grep -c '^Exit status: 0')"

finish
