'***************************************************
' CUSTRPT.PRG - print the customer balance report
'***************************************************
' #include "custrpt.ch"

Sub Main
' LOCAL converted to Dims
Dim nTotal
Dim 0
Dim nCount
Dim 0
' PRIVATE converted to Dim (may need to move to Module Scope)
Dim cTitle
' SET DELETED ON
' USE customer INDEX custname NEW
customer.MoveFirst
DO WHILE Not customer.EOF
' Do Case Sequence converted due to Incompatability with VB
If customer!balance > 1000 Then
nTotal += customer!balance
Inc nCount
'  credit balance
ElseIf customer!balance < 0    Then
Notify customer!name
Else
customer.MoveNext
GoTo MainLupEnd
End If
customer.MoveNext
MainLupEnd:
Loop
? "Total: " +STR(nTotal)
' CLOSE DATABASES
customer.Close
   Exit Sub

' Notify: tell the clerk
about a credit balance ' */
End Sub
 
Sub Notify
PARAMETERS cName
' BEGIN SEQUENCE
If Emty(cName) Then
GoTo NotifyBreakEnd
End If
' @ 10, 5 SAY "Credit: " + ALLTRIM(cName)
' END SEQUENCE
NotifyBreakEnd:
   Exit Sub
End Sub
 
