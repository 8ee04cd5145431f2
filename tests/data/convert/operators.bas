a <> b  And  Not lDone
lOk =  True
lNo =  False
arr(1) = cust!name
x = IIF(a, 1, 2)
y = IIF(a, 1, 2)
n = VarType(cVar)
x = x - 1
x -= y * 2
nTotal = nTotal + nAmount
x = x + (a + b)
If Emty(cName)  Or   Not  lOk Then
End If
