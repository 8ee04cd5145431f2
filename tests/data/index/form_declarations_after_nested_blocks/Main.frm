VERSION 5.00
Begin VB.Form F
   BeginProperty Font
   EndProperty
   Begin VB.Label L
   End
End
Attribute VB_Name = "F"
Private Sub Form_Load()
End Sub
