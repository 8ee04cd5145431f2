# show writes the entry's text as the pane holds it, bytes unchanged; an
# entry over 30,000 bytes warns, one over 32,000 is refused.
modules MAIN.BAS
qw show MAIN.BAS Form_Load
qw show MAIN.BAS '#4'
qw show MAIN.BAS Nope
qw show MAIN.BAS '#5'
qw show MAIN.BAS '#x'
big BIG.BAS 305
big HUGE.BAS 325
qwo big.out show BIG.BAS Big
tail -n +2 BIG.BAS >big.want
same big.out big.want
qw show HUGE.BAS Big
