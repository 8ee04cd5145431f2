Sub Main
x = 1+ 2
   Exit Sub
End Sub
 
