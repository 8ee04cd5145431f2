&& MENU.PRG
// Main menu of the ledger
PROCEDURE Menu
   PRIVATE nChoice, nKey
   nChoice := 1
   DO WHILE .T.
      CLEAR
      @ 2, 10 SAY "Ledger"
      nKey := INKEY(0)
      DO CASE
      CASE nKey == 27        && Esc
         EXIT
      CASE nKey == 13
         DO Post WITH nChoice
      CASE nKey = 5 .OR. nKey = 24
         nChoice := IF(nKey = 5, nChoice - 1, nChoice + 1)
      ENDCASE
      FOR i := 1 TO 3
         IF aDone[i]
            LOOP
         ENDIF
         aDone[i] := .F.
      NEXT
   ENDDO
   RELEASE nChoice
   RETURN

FUNCTION Post(nItem)
   LOCAL lOk := .F.
   USE ledger ALIAS led
   SELECT led
   APPEND BLANK
   REPLACE led->item WITH nItem, ;   // the item
           led->posted WITH DATE()
   lOk := !EMPTY(led->item)
   CLOSE led
RETURN lOk
