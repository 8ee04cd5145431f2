/* A comment that
   spans three lines
   and ends here */
x := 2
y := 3 /* starts here
   goes on
*/
z := 4
