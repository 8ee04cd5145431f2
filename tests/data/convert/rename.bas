cpString = nLeft(line, 2)
nPos = nRight(cString, 3)
If Emty(cData) Then
End If
x = nCount + nCount
cErr = lError
cstrgg = CSTR(x)
