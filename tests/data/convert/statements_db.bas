' USE customer
oKV.Delete
' CLOSE DATABASES
oKV.Close
' close databases
DB.Close
' REPLACE name WITH cNew
oKV!name = cNew
' REPLACE cust!name WITH x
cust!name = x
' REPLACE total WITH total + nAmt, count WITH count + 1
oKV!total = total + nAmt, count WITH count + 1
oKV.MoveFirst
oKV.MoveLast
oKV.MoveFirst
oKV.MoveLast
oKV.BookMark =  5
oKV.BookMark =  nRec
oKV.MoveNext
oKV.MovePrevious -1
oKV.AddNew BLANK
oKV.Index =  name TO custname
oKV.Seek "=",cKey
oKV.Seek "=",cA , cB
oKV.FindNext
If oKV.NoMatch Then
End If
Kill temp.dbf
' PACK
cust.Delete
cust.MoveFirst
oKV.Delete
