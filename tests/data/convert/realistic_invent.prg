// INVENT.PRG  Inventory update
FUNCTION Restock(nMin)
   LOCAL nDone := 0
   SELECT 2
   USE items
   SELECT items
   SET ORDER TO 1
   GO TOP
   WHILE !EOF()
      IF items->qty < nMin .AND. items->active
         REPLACE qty WITH nMin, ;
                 stamp WITH DATE()
         nDone++
      ELSEIF items->qty == 0
         DELETE
      ELSE
         x := SUBSTR(items->code, 1, 4)
      ENDIF
      SKIP
   END
   SEEK "A" + cCode
   IF FOUND()
      nDone -= 1
   ENDIF
   FOR i := 1 TO LEN(aList)
      aList[i] := UPPER(aList[i])
   NEXT
RETURN nDone

FUNCTION Label(cText)
   IF "," $ cText
      RETURN LEFT(cText, AT(",", cText) - 1)
   ENDIF
RETURN cText
