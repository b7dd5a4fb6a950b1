# Facts of a demo archive read through the command line, so that the end-to-end scripts name
# none of the generator's output; sourced after checks.sh, with `cli` set.

# The names of the levels of ARCHIVE with at least MIN texts, in table order, one a line.
levels_with() {  # levels_with ARCHIVE MIN
    "$cli" list "$1" --only-levels | tr -d '\r' | awk -F '\t' -v min="$2" 'NR > 1 && $4 >= min { print $2 }'
}

# The number of texts of a level of ARCHIVE.
text_count() {  # text_count ARCHIVE LEVEL
    "$cli" list "$1" --only-levels | tr -d '\r' | awk -F '\t' -v level="$2" '$2 == level { print $4 }'
}

# The first name of the list of levels with at least MIN texts that is not one of the others
# given.
level_with() {  # level_with ARCHIVE MIN [NAME...]
    archive=$1 min=$2
    shift 2
    for level in $(levels_with "$archive" "$min"); do
        case " $* " in *" $level "*) ;; *) echo "$level"; return ;; esac
    done
}

# Writes OUTPUT: ARCHIVE with every window fitted to its texts, then the first window that a
# text shows alone made one pixel too narrow for the texts that show it, each of them set to
# "AAAAA" (8 + 5 x 9 + 3 = 56 pixels wide). Prints the level, the window's index, the number
# of the texts' window-list entries that are this window, and the texts' numbers (from 1).
narrow_one_window() {  # narrow_one_window ARCHIVE OUTPUT
    "$cli" fit "$1" -o narrowing.lgp > /dev/null
    "$cli" export narrowing.lgp narrowing.json
    awk '
        function flush(   t, n, k, links, linksIn, listed, i, window) {
            if (chosen != "" || level == "") return
            for (t = 1; t <= texts; ++t) {
                if (split(lists[t], single, ", ") == 1 && lists[t] != "") { k = lists[t]; break }
            }
            if (k == "") return
            chosen = level
            printf "{\"levels\": [{\"name\": \"%s\", \"windows\": [", level > "narrow.json"
            for (i = 0; i <= k; ++i) {
                window = windows[i]
                if (i == k) sub(/"width": [0-9]+/, "\"width\": 55", window)
                printf "%s%s", (i > 0 ? ", " : ""), window > "narrow.json"
            }
            printf "], \"texts\": [" > "narrow.json"
            listed = ""
            for (t = 1; t <= texts; ++t) {
                n = split(lists[t], indices, ", ")
                linksIn = 0
                for (i = 1; i <= n; ++i) if (indices[i] == k) ++linksIn
                if (linksIn == 0) continue
                links += linksIn
                printf "%s{\"text\": %d, \"tagged\": \"AAAAA\"}", (listed == "" ? "" : ", "), numbers[t] > "narrow.json"
                listed = listed " " numbers[t]
            }
            print "]}]}" > "narrow.json"
            print level, k, links listed
        }
        { sub(/\r$/, "") }
        /^      "name": / {
            flush()
            level = $0; sub(/^[^:]*: "/, "", level); sub(/",$/, "", level)
            windowCount = 0; texts = 0
            next
        }
        /^        \{"x": / {
            window = $0; sub(/^ */, "", window); sub(/,$/, "", window)
            windows[windowCount++] = window
            next
        }
        /^        \{"text": / {
            ++texts
            number = $0; sub(/^[^:]*: /, "", number); sub(/,.*/, "", number)
            numbers[texts] = number
            list = $0; sub(/.*"windows": \[/, "", list); sub(/\]\},?$/, "", list)
            lists[texts] = list
        }
        END { flush() }
    ' narrowing.json
    "$cli" import narrowing.lgp narrow.json -o "$2" > /dev/null
}
