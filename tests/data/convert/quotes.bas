cName = "Smith"
If cName = "Hi!"  Or  x Then
End If
