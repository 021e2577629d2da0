(setq ss (ssget "X" (list (cons 8 "walls"))))
(sslength ss)
(ssname ss 0)