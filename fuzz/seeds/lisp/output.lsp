(princ "a\nb")
(prin1 '(1 . 2))
(print 'sym)
;| block |; (princ)