x := a + ;   // the first part
   b + ;
   c
cMsg := "Hello " + ;  && greeting
   "World"
x := 1 // note; more
? x ;
