# What is no regular file is refused at once; an output that cannot be written
# is a failure.
mkfifo x.bas
printf 'Sub A()\nEnd Sub\n' >t.txt
qw list x.bas
qw show x.bas '#0'
qw replace x.bas '#0' t.txt
qw convert x.bas
qw convert /dev/zero
qw list /dev/zero
printf 'Dim a\r\nSub A()\r\nEnd Sub\r\n' >M.BAS
for args in 'list M.BAS' 'show M.BAS A' 'convert M.BAS'; do
  "$QWTOOL" $args >/dev/full
  echo "[$?] $args"
done
