Sub Totals
'  running sum
' local converted to Dims
Dim nSum
Dim 0
' USE sales
do while  Not  0.EOF
If sales!amount > 0 Then
nSum += sales!amount
Else
0.MoveNext
GoTo TotalsLupEnd
End If
0.MoveNext
TotalsLupEnd:
Loop
nArea = select()
select(nOld)
' close databases
DB.Close
   Exit Sub
End Sub
 
