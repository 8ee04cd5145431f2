' INVENT.PRG  Inventory update
Function Restock(nMin)
' LOCAL converted to Dims
Dim nDone
Dim 0
' USE items
' SET ORDER TO 1
items.MoveFirst
Do While Not items.EOF
If items!qty < nMin  And  items!active Then
' REPLACE qty WITH nMin,stamp WITH DATE()
items!qty = nMin,stamp WITH DATE()
Inc nDone
ElseIf items!qty = 0 Then
items.Delete
Else
x = Mid(items!code, 1, 4)
End If
items.MoveNext
End If
items.Seek "=","A" , cCode
If items.NoMatch Then
nDone = nDone - 1
End If
FOR i = 1 TO LEN(aList)
aList(i) = UCase(aList(i))
NEXT
Restock = NDONE
Exit Function

End Function
 
Function Label(cText)
' Complex String Operators may or may not be converted properly
' IF "," $ cText
If  InStr(1, cText, ",", 1) > 0 Then
Label = LEFTCTEXT, AT",", CTEXT - 1
Exit Function
End If
Label = CTEXT
Exit Function
End Function

