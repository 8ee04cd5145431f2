PROCEDURE Main
   x := 1 ;
   + 2
RETURN
