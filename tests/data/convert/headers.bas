Function Calc(nTotal)
Calc = NTOTAL
Exit Function
End Function
 
Sub Helper
   Exit Sub
End Sub
 
Function Twice(x)
Twice = X * 2
Exit Function
End Function
 
Function IsOk
IsOk = TRUE
Exit Function
End Function
 
Sub Last
   Exit Sub
End Sub
 
