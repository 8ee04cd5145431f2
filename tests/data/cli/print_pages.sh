# The listing: a margin of two blank lines, pages of 53 lines, each next page
# after a form feed and its margin; comment lines bold, and each line printed
# as it stands (an empty line counts).
n() { seq "$1" "$2" | sed 's/^/n = /'; }
n 1 53 | qw print --layout
n 1 54 | qw print --layout
n 1 107 | qw print --layout
printf "' note\r\nx = 1" | qw print --layout
printf "   ' note  " | qw print --layout
printf "\t' note" | qw print --layout
printf "x = 1 ' note" | qw print --layout
{ n 1 52; echo; echo next; } | qw print --layout
{ n 1 52; echo "' last"; echo next; } | qw print --layout
