****************************************************
* CUSTRPT.PRG - print the customer balance report
****************************************************
#include "custrpt.ch"

PROCEDURE Main
   LOCAL nTotal := 0, nCount := 0
   PRIVATE cTitle
   SET DELETED ON
   USE customer INDEX custname NEW
   SELECT customer
   GO TOP
   DO WHILE !EOF()
      DO CASE
      CASE customer->balance > 1000
         nTotal += customer->balance
         nCount++
      CASE customer->balance < 0   // credit balance
         DO Notify WITH customer->name
      OTHERWISE
         SKIP
         LOOP
      ENDCASE
      SKIP
   ENDDO
   ? "Total: " + ;
     STR(nTotal)
   CLOSE DATABASES
RETURN

/* Notify: tell the clerk
   about a credit balance */
PROCEDURE Notify
   PARAMETERS cName
   BEGIN SEQUENCE
      IF EMPTY(cName)
         BREAK
      ENDIF
      @ 10, 5 SAY "Credit: " + ALLTRIM(cName)
   END
RETURN
