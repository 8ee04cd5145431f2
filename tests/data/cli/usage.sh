# Help and version; bad usage is status 1 and one line; messages escape
# backslashes and line ends.
"$QWTOOL" --help >help.txt
echo "help [$?]: $(grep -c 'usage: qwtool' help.txt)"
"$QWTOOL" --version | cut -d' ' -f1
qw
qw frobnicate
qw --frobnicate
qw --classic
qw list
qw list --bogus MAIN.BAS
qw show MAIN.BAS
qw find MAIN.BAS
qw comment a b
qw print
qw print --layout --pdf a.pdf
qw replace MAIN.BAS Main --to
qw list 'C:\A.BAS'
qw list "$(printf 'a\r\nb')"
qw convert /nonexistent/x.prg
qw convert /tmp
