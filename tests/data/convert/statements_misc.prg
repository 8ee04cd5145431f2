SET DELETED ON
@ 1,1 SAY x
READ
RELEASE ALL
SAVE TO mem
RESTORE FROM mem
RESTSCREEN(0,0,24,79,cScr)
DECLARE aList[10]
RUN dir
#include "inkey.ch"
BEGIN SEQUENCE
LOCATE FOR name = "X"
PUBLIC gLine, gCount
PRIVATE line, count
lLocal := .T.
IF lOk */
ELSEIF lNo */
ENDIF
