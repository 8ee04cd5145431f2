# --all-procedures lists, shows and saves Property and Friend procedures.
modules SHAPES.CLS
qw list SHAPES.CLS
qw --all-procedures list SHAPES.CLS
qw --all-procedures show SHAPES.CLS Owner
qw show SHAPES.CLS Owner
qw --all-procedures show SHAPES.CLS 'Font [Set]'
printf 'Property Set Font(ByVal f As StdFont)\n    Set mFont = Nothing\nEnd Property\n' |
  qw --all-procedures replace SHAPES.CLS 'Font [Set]'
same SHAPES.BAK SHAPES.CLS
