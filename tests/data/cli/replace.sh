# replace saves an entry from stdin or a file with its backup, or --to a new
# file; what show prints, replace takes back unchanged; refusals save nothing.
modules MAIN.BAS REPORT.PRG
printf 'Public Sub Main()\r\nEnd Sub\r\n' | qw replace MAIN.BAS Main - --to NEW.BAS
files
same MAIN.BAS "$DATA/modules/MAIN.BAS"
qw list NEW.BAS
printf 'Function Last$(s)\n    Last = UCase$(s)\nEnd Function\n' | qw replace MAIN.BAS Last
same MAIN.BAK MAIN.BAS
printf 'Sub Renamed()\nEnd Sub\n' | qw replace MAIN.BAS Main
same MAIN.BAK MAIN.BAS
for entry in '#0' Main Calc Hidden Init; do
  "$QWTOOL" show REPORT.PRG "$entry" >entry.txt
  qw replace REPORT.PRG "$entry" entry.txt
  same REPORT.PRG "$DATA/modules/REPORT.PRG"
done
rm -f *.BAK entry.txt NEW.BAS
cp MAIN.BAS main.txt
qw replace MAIN.BAS Main none.txt
echo '  ' | qw replace MAIN.BAS Main
printf 'Sub A()\r\nEnd Sub\r\n' >NODOT
printf 'Sub A()\nBeep\nEnd Sub\n' | qw replace NODOT A
printf 'Dim a\r\nSub A()\r\nEnd Sub\r\n' >M.BAS
yes "' $(xs 98)" | head -n 330 >big.txt
qw replace M.BAS '(declarations)' big.txt
files
same MAIN.BAS main.txt
show NODOT
show M.BAS
