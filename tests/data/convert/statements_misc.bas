' SET DELETED ON
' @ 1,1 SAY x
' READ
' RELEASE ALL
' SAVE TO mem
' RESTORE FROM mem
' RESTSCREEN(0,0,24,79,cScr)
' DECLARE aList(10)
' RUN dir
' #include "inkey.ch"
' BEGIN SEQUENCE
' LOCATE converted to Dims
Dim FOR
Dim name
Dim "X"
' PUBLIC converted to Global (must be moved to Moduele Declaration Section)
Global gLine
Global gCount
' PRIVATE converted to Dim (may need to move to Module Scope)
Dim pString
Dim nCount
lDim =  True
If lOk Then ' */
ElseIf lNo  Then ' */
End If
