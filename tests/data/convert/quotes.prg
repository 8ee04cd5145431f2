cName := 'Smith'
IF cName == "Hi!" .or. x
ENDIF
