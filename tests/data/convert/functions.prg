cPart := SUBSTR(cName, 1, 3)
cAll := ALLTRIM(cName) + UPPER(cCity)
i++
--n
x := a[i++]
y := ++k * 2
j--
IF "A" $ cList
ENDIF
cMask := "$999"
? $ cList
IF "a" $ cX .or. "b" $ cY
ENDIF
IF x $ cList .or. x = 1
ENDIF
