x = a +b

' note
'  note 
x = 1

' Open the customer file
'  set counter to one
x = 1
