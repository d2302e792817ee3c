# The rows a terminal `width` columns wide shows after the input, as xterm draws it: a character
# in the last column leaves the cursor there until the next one; "\r", "\n", "\t" and ESC [ K.
#   awk -v width=80 -f terminal_screen.awk <output>
BEGIN { RS = "\001"; row = col = wrap = 0 }
function put(c) {
    if (wrap) { row++; col = 0; wrap = 0 }
    t = substr(text[row], 1, col)
    while (length(t) < col) t = t " "
    text[row] = t c substr(text[row], col + 2)
    if (++col == width) { col = width - 1; wrap = 1 }
}
{
    for (i = 1; i <= length($0); i++) {
        c = substr($0, i, 1)
        if (c == "\r") { col = 0; wrap = 0 }
        else if (c == "\n") { row++; col = 0; wrap = 0 }
        else if (c == "\t") { do put(" "); while (col % 8 != 0) }
        else if (substr($0, i, 3) == "\033[K") { text[row] = substr(text[row], 1, col); i += 2 }
        else put(c)
    }
}
END { last = (col == 0 && text[row] == "") ? row - 1 : row; for (r = 0; r <= last; r++) print text[r] }
