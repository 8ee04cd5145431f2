' A comment that
' spans three lines
and ends here ' */
x = 2
'  starts here
' y := 3
' goes on
' */
z = 4
