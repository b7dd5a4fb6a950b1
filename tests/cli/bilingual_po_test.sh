#!/bin/sh
# End-to-end checks of the bilingual PO file: the original's texts as msgid, the
# translation's as msgstr, read by gettext's own tools, edited by hand and applied again, and
# brought up to date by msgmerge when the original changes.
# Usage: bilingual_po_test.sh ORVENNE_CLI WORK_FOLDER
set -u
cli=$1
work=$2
. "$(dirname "$0")/../checks.sh"

"$cli" sample demo.lgp --levels 12 --seed 1997
"$cli" export demo.lgp demo.json

# A translation of the first two texts of the first level with at least three.
python3 - <<'TRANSLATE'
import json
level = next(l for l in json.load(open("demo.json"))["levels"] if len(l["texts"]) >= 3)
json.dump({"levels": [{"name": level["name"], "texts": [
    {"text": 1, "tagged": "Premier texte"},
    {"text": 2, "tagged": "Deuxi\u00e8me\r\ntexte"}]}]}, open("translate.json", "w"))
open("level.txt", "w").write(level["name"])
TRANSLATE
level=$(cat level.txt)
"$cli" import demo.lgp translate.json -o fr.lgp > /dev/null

# The file as gettext's tools read it.
"$cli" export fr.lgp fr.po --original demo.lgp --language fr
check "msgfmt --check without a word" "" "$(msgfmt --check -o /dev/null fr.po 2>&1)"
check "the header names the language" 1 "$(grep -c '^"Language: fr\\n"$' fr.po)"
# What gettext's tools read as the entry's msgid or msgstr.
msgid_of() {  # msgid_of FILE CONTEXT
    msgexec -i "$1" sh -c '[ "${MSGEXEC_MSGCTXT-}" != "$0" ] || printf "%s" "$MSGEXEC_MSGID"' "$2"
}
msgstr_of() {  # msgstr_of FILE CONTEXT
    msgexec -i "$1" sh -c '[ "${MSGEXEC_MSGCTXT-}" != "$0" ] || cat' "$2"
}
"$cli" export demo.lgp plain.po
check "every msgid is the original's text" "" "$(msgcmp --use-untranslated fr.po plain.po 2>&1)"
check "only the translated texts have a msgstr" "msgctxt \"$level:1\";msgctxt \"$level:2\";" \
    "$(msgattrib --translated fr.po | grep '^msgctxt' | tr '\n' ';')"
check "a translation as written, line feeds for line breaks" "$(printf 'Deuxi\303\250me\ntexte')" \
    "$(msgstr_of fr.po "$level:2")"
# The comments before an entry: its level's description and name, then its windows as the
# texts command lists them.
"$cli" texts fr.lgp "$level" | sed -n 2p > second.json
check "the level and the text's windows in comments" \
    "$(python3 -c "
import json
windows = json.load(open('second.json'))['windows']
print('#. ($level)')
for n, (x, y, width, height) in enumerate(windows, 1):
    print('#. window %d: x %d, y %d, %d x %d' % (n, x, y, width, height))
if not windows:
    print('#. no window')
")" \
    "$(awk -v context="msgctxt \"$level:2\"" '/^$/ { comments = "" } /^#\./ { comments = comments $0 "\n" }
          $0 == context { printf "%s", comments }' fr.po | sed 's/^#\. .* (/#. (/')"
check "every text of the translation" "$("$cli" info demo.lgp | sed -n 's/^texts: //p')" \
    "$(grep -c '^msgctxt' fr.po)"
check "--language without --original" 2 "$(status "$cli" export fr.lgp x.po --language fr)"
check "--original with JSON" 2 "$(status "$cli" export fr.lgp x.json --original demo.lgp)"
check "a language code with a line break" 2 "$(status "$cli" export fr.lgp x.po --original demo.lgp --language "fr
X: y")"

# Round trip: a msgstr changed by hand, one filled in; imported, the bytes as written.
python3 - "$level" <<'EDIT'
import sys
level = sys.argv[1]
text = open("fr.po", encoding="utf-8").read()
def retranslate(text, context, new):
    start = text.index('msgctxt "%s"' % context)
    at = text.index("msgstr ", start)
    end = text.find("\n\n", at)
    end = len(text) if end < 0 else end + 1
    return text[:at] + "msgstr " + new + "\n" + text[end:]
text = retranslate(text, level + ":1", '"Premier texte, revu"')
text = retranslate(text, level + ":3", '""\n"Troisi\u00e8me\\n"\n"  \\"texte\\""')
open("edited.po", "w", encoding="utf-8").write(text)
EDIT
check "the edited file is still sound" "" "$(msgfmt --check -o /dev/null edited.po 2>&1)"
check "two texts changed" "texts changed: 2;windows changed: 0;levels rebuilt: 1;sources changed: 0;" \
    "$("$cli" import fr.lgp edited.po --original demo.lgp -o round.lgp | tr '\n' ';')"
"$cli" texts round.lgp "$level" > round.txt
check "the revised text" '{"text": 1, "windows": [], "tagged": "Premier texte, revu"}' \
    "$(sed -n 1p round.txt | sed 's/"windows": \[[^]]*\]/"windows": []/')"
check "the filled-in text, line breaks as CR LF" \
    "$(printf 'Troisi\350me\r\n  "texte"' | "$cli" text encode | od -An -tx1)" \
    "$(python3 -c "
import json, sys
tagged = json.loads(open('round.txt').read().split('\n')[2])['tagged']
sys.stdout.buffer.write(tagged.encode('cp1252'))
" | "$cli" text encode | od -An -tx1)"
check "nothing else changed" "2" "$("$cli" compare round.lgp fr.lgp | awk -F '\t' '$1 == "texts" { print $4 }')"
check "importing it again changes nothing" "texts changed: 0" \
    "$("$cli" import round.lgp edited.po --original demo.lgp -o again.lgp | head -n 1)"

# The original changes its first text: the entry made for the old one is reported, not
# applied; the other one is.
python3 - "$level" <<'SOURCE'
import json, sys
level = next(l for l in json.load(open("demo.json"))["levels"] if l["name"] == sys.argv[1])
json.dump({"levels": [{"name": level["name"], "texts": [
    {"text": 1, "tagged": level["texts"][0]["tagged"] + " Again."}]}]}, open("source.json", "w"))
SOURCE
"$cli" import demo.lgp source.json -o demo2.lgp > /dev/null
"$cli" import fr.lgp edited.po --original demo2.lgp -o stale.lgp > stale.txt 2> stale_errors.txt
check "the changed source is reported" \
    "orvenne-cli import: edited.po: level $level, text 1: its msgid is no longer the original's text; not applied" \
    "$(cat stale_errors.txt)"
check "and counted, the rest applied" "texts changed: 1;windows changed: 0;levels rebuilt: 1;sources changed: 1;" \
    "$(tr '\n' ';' < stale.txt)"
check "the stale text kept" "$("$cli" texts fr.lgp "$level" | sed -n 1p)" \
    "$("$cli" texts stale.lgp "$level" | sed -n 1p)"

# msgmerge with a plain export of the new original: the entry turns fuzzy with the new
# msgid, which import leaves out; the others keep their translations.
"$cli" export demo2.lgp plain2.po
msgmerge --quiet edited.po plain2.po -o merged.po
check "msgmerge keeps the file sound" "" "$(msgfmt --check -o /dev/null merged.po 2>&1)"
check "the changed entry is fuzzy" "#, fuzzy" "$(grep -B 1 "^msgctxt \"$level:1\"" merged.po | head -n 1)"
check "with the new msgid" "$(msgid_of plain2.po "$level:1")" "$(msgid_of merged.po "$level:1")"
check "the others keep their translation" "$(msgstr_of edited.po "$level:3")" \
    "$(msgstr_of merged.po "$level:3")"
check "the merged file applies without a changed source" "sources changed: 0" \
    "$("$cli" import fr.lgp merged.po --original demo2.lgp -o merged.lgp | tail -n 1)"

finish
