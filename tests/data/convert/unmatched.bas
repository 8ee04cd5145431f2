' End If
' Loop
WEND
Exit
If a Then
End If SEQUENCE
' END SEQUENCE END(1)
