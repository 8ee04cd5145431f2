# Replaces of six entries of one module at once all land, four times over.
for round in 1 2 3 4; do
  printf 'Dim a\r\n' >M.BAS
  for i in 0 1 2 3 4 5; do
    printf 'Sub S%s()\r\n  x = 0\r\nEnd Sub\r\n' $i >>M.BAS
    printf 'Sub S%s()\n  x = %s\nEnd Sub\n' $i $((i + 1)) >t$i.txt
  done
  for i in 0 1 2 3 4 5; do
    ("$QWTOOL" replace M.BAS S$i t$i.txt; echo $? >rc$i) &
  done
  wait
  echo "round $round: $(cat rc* | tr -d '\n')"
  for i in 0 1 2 3 4 5; do "$QWTOOL" show M.BAS S$i | grep -c "x = $((i + 1))"; done | tr '\n' ' '
  echo
  files
done
