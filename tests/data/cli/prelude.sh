# Read by every case of this folder before the case itself, which runs in a
# fresh folder with $QWTOOL (the program) and $DATA (tests/data) set. What a
# case prints is its transcript, compared with CASE.expected; the folder's
# path is written as @. A case that exits with 77 is skipped.

# qw ARGS...: runs qwtool and writes the command, its stdout (CR LF line ends
# shown as \r, a last line without a line end marked), its stderr lines after
# "2> " and its exit status in brackets.
qw() {
  run "$@"
  show .qw.out
  tell
}

# qwo FILE ARGS...: as qw, but stdout goes to FILE and is not written.
qwo() {
  out=$1
  shift
  run "$@"
  mv .qw.out "$out"
  tell
}

run() {
  printf '$ qwtool %s\n' "$*"
  "$QWTOOL" "$@" >.qw.out 2>.qw.err
  status=$?
}

tell() {
  sed 's/^/2> /; s/\r$/\\r/' .qw.err
  echo "[$status]"
  rm -f .qw.out .qw.err
}

# show FILE: the bytes of FILE as qw writes them.
show() {
  sed 's/\r$/\\r/' "$1"
  if [ -s "$1" ] && [ -n "$(tail -c1 "$1")" ]; then echo; echo '(no line end)'; fi
}

# files: every file under the folder, sorted.
files() {
  find . ! -type d | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' '
  echo
}

# same FILE1 FILE2: whether two files hold the same bytes, and the lines
# that differ when they do not (a sample module named by its path in $DATA).
same() {
  if cmp -s "$1" "$2"; then echo "$1 = ${2#"$DATA"/}"; else
    echo "$1 != ${2#"$DATA"/}:"
    diff "$1" "$2" | sed 's/\r$/\\r/'
  fi
}

# xs N: N letters x.
xs() {
  head -c "$1" /dev/zero | tr '\0' x
}

# big FILE LINES: a module whose entry Big has LINES lines of 100 bytes.
big() {
  { printf 'Dim a\r\nSub Big()\r\n'; yes "$(xs 98)" | head -n "$2" | sed 's/$/\r/'; printf 'End Sub\r\n'; } >"$1"
}

# modules NAME...: copies of the sample modules.
modules() {
  for m in "$@"; do cp "$DATA/modules/$m" .; done
}

# sized TOTAL [open]: "Dim a" and an entry Sub Big() of TOTAL bytes in lines
# of at most 100 bytes, ended by End Sub unless open.
sized() {
  awk -v total="$1" -v end="$([ "$2" = open ] && echo 0 || echo 9)" 'BEGIN {
    x = sprintf("%098d", 0); gsub(/0/, "x", x)
    printf "Dim a\r\nSub Big()\r\n"
    for (left = total - end - 11; left > 0; left -= line) {
      line = left >= 103 ? 100 : (left > 100 ? left - 50 : left)
      printf "%s\r\n", substr(x, 1, line - 2)
    }
    if (end) printf "End Sub\r\n"
  }'
}
