(getvar "CLAYER")
(setvar "FILEDIA" 0)
(getvar "filedia")