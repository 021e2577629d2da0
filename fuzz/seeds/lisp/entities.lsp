(entnext (entlast))
(handent "2A")
(entnext)