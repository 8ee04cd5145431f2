x = a +b +c
cMsg = "Hello " +"World"
'  note; more
x = 1
