# list prints one entry a line, in JSON on request; a file that cannot be
# opened is refused.
modules MAIN.BAS DIALOG.FRM
qw list MAIN.BAS
qw --classic list MAIN.BAS
qw list --json DIALOG.FRM
qw list NONE.BAS
