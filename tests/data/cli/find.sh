# find prints every line holding the text, letter case ignored unless asked;
# the form's description is no entry.
modules MAIN.BAS DIALOG.FRM
qw find MAIN.BAS dim
qw find --match-case MAIN.BAS dim
qw find DIALOG.FRM caption
