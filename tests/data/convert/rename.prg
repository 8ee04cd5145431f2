cLine = Left(line, 2)
nPos := RIGHT(cString, 3)
IF EMPTY(cData)
ENDIF
x := Count + nCount
cErr := Error
cStr := CSTR(x)
