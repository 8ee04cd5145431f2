cPart = Mid(cName, 1, 3)
cAll = Trim(cName) + UCase(cCity)
Inc i
Dec n
x = a(IncA(i))
y = IncB(k) * 2
Dec j
' Complex String Operators may or may not be converted properly
' IF "A" $ cList
If  InStr(1, cList, "A", 1) > 0 Then
End If
' Complex String Operators may or may not be converted properly
' cMask = "$999"
cMask = "$999"
' Complex String Operators may or may not be converted properly
' ? $ cList
? $ cList
' Complex String Operators may or may not be converted properly
' IF "a" $ cX  Or  "b" $ cY
If  InStr(1, cX, "a", 1) > 0   Or   InStr(1, cY, "b", 1) > 0 Then
End If
' Complex String Operators may or may not be converted properly
' IF x $ cList  Or  x = 1
If x $ cList  Or  x = 1 Then
End If
