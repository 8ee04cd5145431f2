# Several modules, and folders walked with -r: files in path order, each line
# after its path; a file that cannot be read is told among the others, and the
# status is 2.
modules MAIN.BAS
mkdir -p tree/a tree/b
printf 'Sub Z()\r\nEnd Sub\r\n' >tree/b/Z.Cls
printf 'Sub Y()\r\nEnd Sub\r\n' >tree/a/y.bas
printf 'Sub N()\r\n' >tree/a/notes.txt
mkfifo tree/a/pipe.frm
ln -s "$PWD/MAIN.BAS" tree/a/link.bas
ln -s "$PWD/tree/a" tree/b/loop
qw list -r tree NONE.BAS
qw list --json tree/b/Z.Cls MAIN.BAS tree/a/y.bas
qw find -r tree NONE.BAS sub
qw list tree tree/a/y.bas
