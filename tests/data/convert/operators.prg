a != b .and. !lDone
lOk := .T.
lNo := .F.
arr[1] := cust->name
x := IF(a, 1, 2)
y := IIF(a, 1, 2)
n := TYPE("cVar")
x -= 1
x -= y * 2
nTotal += nAmount
x += (a + b)
IF EMPTY(cName) .OR. .NOT. lOk
ENDIF
