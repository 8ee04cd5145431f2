Sub Main
' BEGIN SEQUENCE
If lErr Then
GoTo MainBreakEnd
End If
' END SEQUENCE
MainBreakEnd:
DO WHILE  Not  oKV.EOF
If x = 1 Then
GoTo MainLupEnd
End If
If x = 2 Then
Exit Do
End If
MainLupEnd:
Loop
FOR i = 1 TO 10
Exit For
NEXT
Do While lGo
Inc x
End If
Report x
Helper
' Do Case Sequence converted due to Incompatability with VB
If x = 1 Then
x = 2
ElseIf x = 2 Then
Else
x = 0
End If
Else
   Exit Sub
End Sub
 
