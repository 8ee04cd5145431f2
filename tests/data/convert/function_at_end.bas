Function Total(a)
Total = A + 1
Exit Function
End Function

