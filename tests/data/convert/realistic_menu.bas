' MENU.PRG
' Main menu of the ledger
Sub Menu
' PRIVATE converted to Dim (may need to move to Module Scope)
Dim nChoice
Dim nKey
nChoice = 1
DO WHILE  True
CLEAR
' @ 2, 10 SAY "Ledger"
nKey = INKEY(0)
' Do Case Sequence converted due to Incompatability with VB
If nKey = 27 Then
Exit Do
ElseIf nKey = 13 Then
Post nChoice
ElseIf nKey = 5  Or  nKey = 24 Then
nChoice = IIF(nKey = 5, nChoice - 1, nChoice + 1)
End If
FOR i = 1 TO 3
If aDone(i) Then
GoTo MenuLupEnd
End If
aDone(i) =  False
NEXT
MenuLupEnd:
Loop
' RELEASE nChoice
   Exit Sub

End Sub
 
Function Post(nItem)
' LOCAL converted to Dims
Dim lOk
Dim .F.
' USE ledger ALIAS led
led.AddNew BLANK
' REPLACE led!item WITH nItem,led!posted WITH DATE()
led!item = nItem,led!posted WITH DATE()
lOk = Not Emty(led!item)
' CLOSE led
led.Close
Post = LOK
Exit Function
End Function

