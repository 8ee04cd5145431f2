	IF x = 1
		x = 1
	ENDIF
	* note about the tab pString
