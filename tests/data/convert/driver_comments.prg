x := a + ;
   b

/* note */
x := 1 /* note */
* ====
* Open the customer file
x := 1 && set counter to one
